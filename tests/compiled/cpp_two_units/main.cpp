// Compiled apart from left.cpp and linked with it into one program.
MString probeLeft();
MString buildLeft(const MVantor& other);

frame Right {
public:
    void build(const MString& mstrProbe, const MString& mstrLeft) {
        BEGIN_FRAME_TEXT()
right=<!getObjectID()!>
probe=<!mstrProbe!>
<!mstrLeft!>
        END_FRAME_TEXT();
    }
};

int main() {
    MString mstrFirst("first");
    MString mstrSecond("second");
    // Two strings are alive, so the one that left.cpp makes gets the number 2.
    MString mstrProbe = probeLeft();
    Right right;
    MString mstrLeft = buildLeft(right);
    right.build(mstrProbe, mstrLeft);
    right.exportToFile("out.bin");
    return 0;
}
