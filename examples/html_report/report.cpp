// Renders a sales report as one self-contained HTML page. The stylesheet is taken in when
// XVantor runs, so the program needs no file besides itself.
#include <cstdio>

struct Sale {
    const char* pszRegion;
    int nUnits;
    int nRevenue;
};

// HTML opens its declarations and comments with "<!", the default opener of an embedded
// expression, so every block here chooses "{{" and "}}" instead. A choice holds for one block.
frame Row {
public:
    explicit Row(const Sale& sale) {
        BEGIN_FRAME_TEXT(FLAG_<!="{{" FLAG_!>="}}")
      <tr><td>{{sale.pszRegion}}</td><td class="number">{{sale.nUnits}}</td><td class="number">{{sale.nRevenue}}</td></tr>
        END_FRAME_TEXT();
    }
};

frame Report {
public:
    Report(const char* pszTitle, const Sale* pSales, int nSales) {
        MString mstrRows;
        int nUnits = 0;
        int nRevenue = 0;
        for (int n = 0; n < nSales; ++n) {
            // A block's text stops before the line break that precedes its end line.
            if (n > 0)
                mstrRows += MString("\n");
            mstrRows += Row(pSales[n]);
            nUnits += pSales[n].nUnits;
            nRevenue += pSales[n].nRevenue;
        }
        BEGIN_FRAME_TEXT(FLAG_<!="{{" FLAG_!>="}}")
<!DOCTYPE html>
<html>
<head>
  <meta charset="utf-8">
  <title>{{pszTitle}}</title>
  <style>
<#style.css#>  </style>
</head>
<body>
  <h1>{{pszTitle}}</h1>
  <table>
    <thead>
      <tr><th>Region</th><th>Units</th><th>Revenue</th></tr>
    </thead>
    <tbody>
{{mstrRows}}
    </tbody>
    <tfoot>
      <tr><td>Total</td><td class="number">{{nUnits}}</td><td class="number">{{nRevenue}}</td></tr>
    </tfoot>
  </table>
</body>
</html>
        END_FRAME_TEXT();
    }
};

int main() {
    const Sale sales[] = {
        {"North", 120, 14400},
        {"South", 75, 9000},
        {"East", 130, 15600},
        {"West", 80, 9600},
    };
    Report report("Sales, first quarter", sales, 4);
    MString mstrPage = MString(report) + MString("\n");
    mstrPage.exportToFile("report.html");
    std::printf("report.html: %lu bytes\n", mstrPage.length());
    return 0;
}
