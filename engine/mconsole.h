#ifndef XVANTOR_ENGINE_MCONSOLE_H
#define XVANTOR_ENGINE_MCONSOLE_H

/// Writes the text and one newline to standard output.
void printLine(const char* pszText);

/// Writes the text alone to standard output.
void printText(const char* pszText);

#endif  // XVANTOR_ENGINE_MCONSOLE_H
