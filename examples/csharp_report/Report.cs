// Renders a sales report as one self-contained HTML page: the same page as the C++ example
// makes. The stylesheet is taken in when XVantor runs, so the program needs no other file.
using System;
using System.Collections.Generic;
using System.Text;

class Sale
{
    public readonly string strRegion;
    public readonly int nUnits;
    public readonly int nRevenue;

    public Sale(string strRegion, int nUnits, int nRevenue)
    {
        this.strRegion = strRegion;
        this.nUnits = nUnits;
        this.nRevenue = nRevenue;
    }
}

// HTML opens its declarations and comments with "<!", the default opener of an embedded
// expression, so every block here chooses "{{" and "}}" instead. A choice holds for one block.
frame Row
{
    public Row(Sale sale)
    {
        BEGIN_FRAME_TEXT(FLAG_<!="{{" FLAG_!>="}}")
      <tr><td>{{sale.strRegion}}</td><td class="number">{{sale.nUnits}}</td><td class="number">{{sale.nRevenue}}</td></tr>
        END_FRAME_TEXT();
    }
}

frame Report
{
    public Report(string strTitle, IList<Sale> sales)
    {
        StringBuilder rows = new StringBuilder();
        int nUnits = 0;
        int nRevenue = 0;
        foreach (Sale sale in sales)
        {
            // A block's text stops before the line break that precedes its end line.
            if (rows.Length > 0)
                rows.Append('\n');
            rows.Append(new Row(sale).getFrameText());
            nUnits += sale.nUnits;
            nRevenue += sale.nRevenue;
        }
        string strRows = rows.ToString();
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

    public static void Main()
    {
        List<Sale> sales = new List<Sale> {
            new Sale("North", 120, 14400),
            new Sale("South", 75, 9000),
            new Sale("East", 130, 15600),
            new Sale("West", 80, 9600),
        };
        Report report = new Report("Sales, first quarter", sales);
        MString page = new MString(report.getFrameText() + "\n");
        page.exportToFile("report.html");
        Console.WriteLine("report.html: " + page.length() + " bytes");
    }
}
