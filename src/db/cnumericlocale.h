#pragma once

#include <clocale>

// While one lives, the calling thread formats and reads numbers as the C locale does (a point
// before the decimals, no grouping), whatever the system's locale. C libraries that write files
// for other programs (the workbook library's cells and column widths, for one) format numbers
// with printf and so with LC_NUMERIC, which Qt sets from the environment at start-up: a Greek
// system would write "9,6" where every reader expects "9.6". Only this thread is touched, so a
// window shown meanwhile keeps the system's separator.
class CNumericLocale {
public:
    CNumericLocale();
    ~CNumericLocale();
    CNumericLocale(const CNumericLocale &) = delete;
    CNumericLocale &operator=(const CNumericLocale &) = delete;

    // For the whole process: C libraries called from any thread format numbers with a point.
    // Called once at start-up, after QApplication (which sets every category from the
    // environment); Qt's own QLocale::system() reads the environment and is unaffected.
    static void setForProcess();

private:
    locale_t m_c = nullptr;
    locale_t m_previous = nullptr;
};
