frame ( Report ) {
};
