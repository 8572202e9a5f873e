// The second translation unit: strings and MVantor objects made here are counted
// together with those of main.cpp.
frame Left {
public:
    void build(const MVantor& other) {
        BEGIN_FRAME_TEXT()
left=<!getObjectID()!>;other=<!other.getObjectID()!>;class=<!getClassName()!>
        END_FRAME_TEXT();
    }
};

MString probeLeft() {
    MString mstrProbe("probe");
    return mstrProbe.getObjectID();
}

MString buildLeft(const MVantor& other) {
    Left left;
    left.build(other);
    return left;
}
