0frame Report
{
public:
    void show();
};

frame(Summary) {
};
int myframe(int);
