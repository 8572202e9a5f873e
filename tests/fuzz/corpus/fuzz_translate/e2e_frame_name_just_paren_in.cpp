0frame ( Report ) {
};
