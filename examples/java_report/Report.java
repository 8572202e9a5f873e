// Renders a sales report as one self-contained HTML page: the same page as the C++ example
// makes. The stylesheet is taken in when XVantor runs, so the program needs no other file.
import java.util.Arrays;
import java.util.List;

class Sale {
    final String strRegion;
    final int nUnits;
    final int nRevenue;

    Sale(String strRegion, int nUnits, int nRevenue) {
        this.strRegion = strRegion;
        this.nUnits = nUnits;
        this.nRevenue = nRevenue;
    }
}

// HTML opens its declarations and comments with "<!", the default opener of an embedded
// expression, so every block here chooses "{{" and "}}" instead. A choice holds for one block.
frame Row {
    Row(Sale sale) {
        BEGIN_FRAME_TEXT(FLAG_<!="{{" FLAG_!>="}}")
      <tr><td>{{sale.strRegion}}</td><td class="number">{{sale.nUnits}}</td><td class="number">{{sale.nRevenue}}</td></tr>
        END_FRAME_TEXT();
    }
}

public frame Report {
    Report(String strTitle, List<Sale> sales) {
        StringBuilder rows = new StringBuilder();
        int nUnits = 0;
        int nRevenue = 0;
        for (Sale sale : sales) {
            // A block's text stops before the line break that precedes its end line.
            if (rows.length() > 0)
                rows.append('\n');
            rows.append(new Row(sale).getFrameText());
            nUnits += sale.nUnits;
            nRevenue += sale.nRevenue;
        }
        String strRows = rows.toString();
        BEGIN_FRAME_TEXT(FLAG_<!="{{" FLAG_!>="}}")
<!DOCTYPE html>
<html>
<head>
  <meta charset="utf-8">
  <title>{{strTitle}}</title>
  <style>
<#style.css#>  </style>
</head>
<body>
  <h1>{{strTitle}}</h1>
  <table>
    <thead>
      <tr><th>Region</th><th>Units</th><th>Revenue</th></tr>
    </thead>
    <tbody>
{{strRows}}
    </tbody>
    <tfoot>
      <tr><td>Total</td><td class="number">{{nUnits}}</td><td class="number">{{nRevenue}}</td></tr>
    </tfoot>
  </table>
</body>
</html>
        END_FRAME_TEXT();
    }

    public static void main(String[] args) {
        List<Sale> sales = Arrays.asList(
            new Sale("North", 120, 14400),
            new Sale("South", 75, 9000),
            new Sale("East", 130, 15600),
            new Sale("West", 80, 9600));
        Report report = new Report("Sales, first quarter", sales);
        MString page = new MString(report.getFrameText() + "\n");
        page.exportToFile("report.html");
        System.out.println("report.html: " + page.length() + " bytes");
    }
}
