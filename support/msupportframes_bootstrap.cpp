// The first-stage tool translates the support texts into the real tool; it
// carries none itself, and refuses to write support files it does not have.
#include "support/msupportframes.h"

namespace {

const char* const pszNoTexts = "can not create the file";

}  // namespace

MStringHFrame::MStringHFrame() {
    throw pszNoTexts;
}
MVantorHFrame::MVantorHFrame() {
    throw pszNoTexts;
}
MStringJavaFrame::MStringJavaFrame() {
    throw pszNoTexts;
}
MVantorJavaFrame::MVantorJavaFrame() {
    throw pszNoTexts;
}
MStringCsFrame::MStringCsFrame() {
    throw pszNoTexts;
}
MVantorCsFrame::MVantorCsFrame() {
    throw pszNoTexts;
}
