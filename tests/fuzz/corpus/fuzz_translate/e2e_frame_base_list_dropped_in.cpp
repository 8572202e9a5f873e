0frame Report : Base {
};
