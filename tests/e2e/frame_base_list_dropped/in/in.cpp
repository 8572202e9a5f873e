frame Report : Base {
};
