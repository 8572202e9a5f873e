import java.util.*;
frame Page : Base,
    Other {
    public void make(int nCount) {
        BEGIN_FRAME_TEXT()
Count: <!nCount!>
<!nosuch!> <#part.txt#> <!a +
b!>
        END_FRAME_TEXT();
    }
}
int after = 1;
