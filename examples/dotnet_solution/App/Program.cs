using App;
using Letters;

var letter = new Letter();
letter.sign("The post office");
letter.make("Ada", 2, null);
var receipt = new Receipt();
receipt.make(letter, null, null);
Console.WriteLine(receipt.getUnicodeText());
letter.make(null, null, 7);
Console.WriteLine(letter.getUnicodeText());
