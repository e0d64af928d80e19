#include "ReadableXmlVariants.h"

std::vector<XmlVariant> readableVariants(const QByteArray& root)
{
    const QByteArray declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    const auto withExtra = [&root](const char* attributes) { return QByteArray(root).replace("extra=\"-\"", attributes); };
    return {
        {"a line break before the declaration", "\n" + declaration + root},
        {"blanks before the declaration", " \t \r\n" + declaration + root},
        {"a line break, then a byte-order mark", "\n\xef\xbb\xbf" + declaration + root},
        {"a document type that declares nothing", declaration + "<!DOCTYPE root SYSTEM \"root.dtd\">\n" + root},
        {"XML 1.1", "<?xml version=\"1.1\" encoding=\"UTF-8\"?>\n" + root},
        {"ISO-8859-1 declared and used",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n" + withExtra("extra=\"caf\xe9 cr\xe8me\"")},
        {"ISO-8859-1 declared, UTF-8 used",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n" + withExtra("r\xc3\xa9sum\xc3\xa9=\"caf\xc3\xa9\"")},
        {"windows-1252 declared and used",
         "<?xml version='1.0' encoding='windows-1252'?>" + withExtra("extra=\"\x80 5, \x93quoted\x94\"")},
        {"EUC-KR declared and used", "<?xml version=\"1.0\" encoding=\"EUC-KR\"?>\n" + withExtra("extra=\"\xb0\xa1\xb3\xaa\"")},
        {"Shift_JIS declared and used, no character taking an ASCII byte",
         "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n" + withExtra("extra=\"\x82\xa0\xb1\"")},
        {"a repeated attribute", declaration + withExtra("extra=\"-\" extra=\"-\"")},
        {"an entity nothing declares", declaration + withExtra("extra=\"a&nbsp;b\"")},
    };
}
