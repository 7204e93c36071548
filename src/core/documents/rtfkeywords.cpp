#include "documents/rtfkeywords.h"

#include <QHash>
#include <QSet>

namespace quillon::rtf {

bool isSkippedDestination(const QByteArray& word)
{
    static const QSet<QByteArray> skipped = {
        "info", "pict", "stylesheet", "header", "headerl", "headerr", "headerf", "footer",
        "footerl", "footerr", "footerf", "footnote", "object", "fldinst", "listtable",
        "listoverridetable", "rsidtbl", "xmlnstbl", "generator", "themedata", "colorschememapping",
        "datastore", "latentstyles", "pgdsctbl", "filetbl", "revtbl", "author", "operator", "title",
        "subject", "comment", "doccomm", "keywords", "company", "creatim", "revtim", "printim",
        "buptim", "template", "fchars", "lchars", "nonshppict", "shppict", "shp", "objdata",
        "bkmkstart", "bkmkend", "annotation", "atnid", "atnauthor", "protusertbl", "mmathPr",
        "wgrffmtfilter", "pnseclvl", "userprops", "docvar", "xe", "tc", "txe", "falt", "panose",
        "blipuid", "oldcprops", "oldpprops",
        // Plain text repeating nested tables
        // for readers that know none.
        "nonesttables"};
    return skipped.contains(word);
}

char16_t symbolCharacter(const QByteArray& word)
{
    static const QHash<QByteArray, char16_t> symbols = {{"\\", u'\\'},
                                                        {"{", u'{'},
                                                        {"}", u'}'},
                                                        {"~", u'\u00A0'},
                                                        {"_", u'\u2011'},
                                                        {"tab", u'\t'},
                                                        {"line", u'\u2028'},
                                                        {"emdash", u'\u2014'},
                                                        {"endash", u'\u2013'},
                                                        {"bullet", u'\u2022'},
                                                        {"lquote", u'\u2018'},
                                                        {"rquote", u'\u2019'},
                                                        {"ldblquote", u'\u201C'},
                                                        {"rdblquote", u'\u201D'},
                                                        {"emspace", u'\u2003'},
                                                        {"enspace", u'\u2002'},
                                                        {"qmspace", u'\u2005'},
                                                        {"cell", u'\t'},
                                                        {"nestcell", u'\t'}};
    return symbols.value(word, 0);
}

} // namespace quillon::rtf
