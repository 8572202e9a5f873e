var page = new Page();
page.make(".NET", 3);
Console.Write(page.getFrameText());
page.makeHtml("Report");
Console.WriteLine(page.getFrameText());
