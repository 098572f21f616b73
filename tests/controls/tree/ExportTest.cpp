#include "controls/tree/StringTree.h"

#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <map>

namespace {

using namespace tree;

// Compares with the stored export; CONF_UPDATE_GOLDEN=1 rewrites the file instead.
void ExpectGoldenText(const QByteArray& actual, const QString& name)
{
    const QString path = QStringLiteral(TEST_DATA_DIR "/export/") + name;
    if (qEnvironmentVariableIntValue("CONF_UPDATE_GOLDEN") == 1) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(actual);
        return;
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    EXPECT_EQ(f.readAll().toStdString(), actual.toStdString()) << name.toStdString();
}

// A meter list with two columns: meters on the first level, their values below.
struct ExportTree {
    struct Row {
        int Parent;
        QString Name, Value;
    };

    explicit ExportTree(bool columns = true, std::vector<Row> rows = DefaultRows())
    {
        Tree.resize(300, 200);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSize(9);
        Tree.setFont(f);
        Tree.Header().SetFont(platform::TFont(f));
        Tree.SetColor(platform::clWhite);
        if (columns) {
            for (auto [caption, width] : {std::pair{QStringLiteral("Meter"), 140}, {QStringLiteral("Reading"), 90}}) {
                TNodeTreeColumn* c = Tree.Header().Columns().Add();
                c->SetText(caption);
                c->SetWidth(width);
            }
            Tree.Header().SetOptions(Tree.Header().Options() | hoVisible);
        }
        Tree.OnGetText = [this](TBaseNodeTree*, PTreeNode node, TColumnIndex column, TVSTTextType type, QString& text) {
            if (type == ttNormal)
                text = column == 1 ? Rows[RowOf.at(node)].Value : Rows[RowOf.at(node)].Name;
        };
        Rows = std::move(rows);
        for (size_t i = 0; i < Rows.size(); ++i) {
            PTreeNode parent = Rows[i].Parent < 0 ? nullptr : Nodes[size_t(Rows[i].Parent)];
            PTreeNode n = Tree.AddChild(parent);
            Nodes.push_back(n);
            RowOf[n] = int(i);
        }
        Tree.FullExpand();
    }

    static std::vector<Row> DefaultRows()
    {
        return {{-1, QStringLiteral("Meter 1"), QStringLiteral("ok")},
                {0, QStringLiteral("Energy"), QStringLiteral("125 kWh")},
                {0, QStringLiteral("Volume"), QStringLiteral("3.5 m3")},
                {-1, QStringLiteral("Meter 2"), QStringLiteral("no reply")}};
    }

    TNodeStringTree Tree;
    std::vector<Row> Rows;
    std::vector<PTreeNode> Nodes;
    std::map<PTreeNode, int> RowOf;
};

// A real HTML parser run as a child process: Python's html.parser where python3 runs, else
// xmllint's HTML parser, else none (Reason says why). Cells answers the text of each table cell.
class HtmlParser {
public:
    HtmlParser()
    {
        if (Runs(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral("pass")}))
            FProgram = QStringLiteral("python3");
        else if (Runs(QStringLiteral("xmllint"), {QStringLiteral("--version")}))
            FProgram = QStringLiteral("xmllint");
        else
            FReason = QStringLiteral("neither python3 nor xmllint could be started");
    }
    explicit operator bool() const { return !FProgram.isEmpty(); }
    const QString& Reason() const { return FReason; }

    // Every element must close in order; an error goes to *error.
    QStringList Cells(const QString& html, QString* error) const
    {
        return FProgram == QLatin1String("python3") ? PythonCells(html, error) : XmllintCells(html, error);
    }

private:
    static bool Runs(const QString& program, const QStringList& arguments)
    {
        QProcess p;
        p.start(program, arguments);
        return p.waitForStarted(10000) && p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }
    // Runs the program on the text; false with *error set when it did not run through.
    static bool Run(const QString& program, const QStringList& arguments, const QByteArray& input, QByteArray& out,
                    QString* error)
    {
        QProcess p;
        p.start(program, arguments);
        if (!p.waitForStarted(10000)) {
            *error = program + QStringLiteral(" did not start: ") + p.errorString();
            return false;
        }
        p.write(input);
        p.closeWriteChannel();
        if (!p.waitForFinished(30000)) {
            *error = program + QStringLiteral(" did not finish");
            return false;
        }
        out = p.readAllStandardOutput();
        const QByteArray diagnostics = p.readAllStandardError();
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 || !diagnostics.isEmpty()) {
            *error = QString::fromUtf8(diagnostics);
            if (error->isEmpty())
                *error = program + QStringLiteral(" failed");
            return false;
        }
        return true;
    }
    static QStringList PythonCells(const QString& html, QString* error)
    {
        static const char* script = R"PY(
import sys, html.parser
VOID = {'meta', 'br', 'col', 'img', 'hr'}
class P(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack, self.cells, self.cur = [], [], None
    def handle_starttag(self, tag, attrs):
        if tag in VOID: return
        self.stack.append(tag)
        if tag in ('td', 'th'): self.cur = ''
    def handle_endtag(self, tag):
        if not self.stack or self.stack[-1] != tag:
            sys.exit('unbalanced </%s> with open %s' % (tag, self.stack))
        self.stack.pop()
        if tag in ('td', 'th'):
            self.cells.append(self.cur); self.cur = None
    def handle_data(self, data):
        if self.cur is not None: self.cur += data
p = P()
p.feed(sys.stdin.read()); p.close()
if p.stack: sys.exit('unclosed %s' % p.stack)
sys.stdout.write('\x1f'.join(c.replace('\xa0', ' ') for c in p.cells))
)PY";
        QByteArray out;
        if (!Run(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromUtf8(script)}, html.toUtf8(), out, error))
            return {};
        return QString::fromUtf8(out).split(QChar(0x1f));
    }
    // xmllint reports end tags out of order; its XML rendering of the document gives the cells.
    static QStringList XmllintCells(const QString& html, QString* error)
    {
        QByteArray out;
        if (!Run(QStringLiteral("xmllint"), {QStringLiteral("--html"), QStringLiteral("--xmlout"), QStringLiteral("-")},
                 html.toUtf8(), out, error))
            return {};
        QStringList cells;
        QString cell;
        int depth = 0;
        QXmlStreamReader xml(out);
        while (!xml.atEnd()) {
            xml.readNext();
            const bool isCell = xml.name() == QLatin1String("td") || xml.name() == QLatin1String("th");
            if (xml.isStartElement() && isCell && depth++ == 0)
                cell.clear();
            else if (xml.isEndElement() && isCell && --depth == 0)
                cells << cell.replace(QChar(0xa0), QChar(' '));
            else if (xml.isCharacters() && depth > 0)
                cell += xml.text();
        }
        if (xml.hasError())
            *error = xml.errorString();
        return cells;
    }
    QString FProgram;
    QString FReason;
};

// Fixes the locale for output that follows it (list separator, paper size).
struct LocaleGuard {
    explicit LocaleGuard(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleGuard() { QLocale::setDefault(Saved); }
    QLocale Saved;
};

TEST(ContentExport, GoldenOutputOfEachFormat)
{
    LocaleGuard locale(QLocale::c());
    ExportTree t;
    ExpectGoldenText(t.Tree.ContentToText(tstAll, QChar('\t')).toUtf8(), QStringLiteral("meters.txt"));
    ExpectGoldenText(t.Tree.ContentToClipboard(ClipFormatCsv, tstAll), QStringLiteral("meters.csv"));
    ExpectGoldenText(t.Tree.ContentToHTML(tstAll, QStringLiteral("Meters")).toUtf8(), QStringLiteral("meters.html"));
    ExpectGoldenText(t.Tree.ContentToRTF(tstAll), QStringLiteral("meters.rtf"));

    ExportTree plain(false);
    ExpectGoldenText(plain.Tree.ContentToText(tstAll, QStringLiteral("--")).toUtf8(), QStringLiteral("plain.txt"));
    ExpectGoldenText(plain.Tree.ContentToHTML(tstAll).toUtf8(), QStringLiteral("plain.html"));
}

TEST(ContentExport, HtmlParsesCleanlyAndKeepsMarkupInTextsAsText)
{
    const QString nasty = QStringLiteral("<b>A & \"B\"</b> 'c'");
    ExportTree t(true, {{-1, nasty, QStringLiteral("x < y")}, {0, QStringLiteral("child"), QStringLiteral("</td>")}});
    t.Tree.Header().Columns()[0]->SetText(QStringLiteral("Meter <id>"));
    platform::TFont odd(t.Tree.Font());
    odd.SetName(QStringLiteral("Evil\"><script>"));
    t.Tree.setFont(odd);

    const HtmlParser parser;
    if (!parser)
        GTEST_SKIP() << parser.Reason().toStdString();
    for (const QString& caption : {QString(), QStringLiteral("a \"quoted\" <caption>")}) {
        const QString html = t.Tree.ContentToHTML(tstAll, caption);
        EXPECT_FALSE(html.contains(QStringLiteral("<script>"))) << html.toStdString();
        QString error;
        const QStringList cells = parser.Cells(html, &error);
        ASSERT_TRUE(error.isEmpty()) << error.toStdString();
        // Header, the top node's two cells, one indent cell and the child's two cells.
        EXPECT_EQ(cells, (QStringList{QStringLiteral("Meter <id>"), QStringLiteral("Reading"), nasty,
                                      QStringLiteral("x < y"), QStringLiteral(" "), QStringLiteral("child"),
                                      QStringLiteral("</td>")}));
    }
}

TEST(ContentExport, DelimitedTextQuotesOnlyCellsThatNeedIt)
{
    struct Case {
        QString Cell;
        QString Expected;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("plain"), QStringLiteral("plain")},
        {QStringLiteral("a;b"), QStringLiteral("\"a;b\"")},
        {QStringLiteral("say \"hi\""), QStringLiteral("\"say \"\"hi\"\"\"")},
        {QStringLiteral("two\r\nlines"), QStringLiteral("\"two\r\nlines\"")},
        {QStringLiteral("lf\nonly"), QStringLiteral("\"lf\nonly\"")},
        {QStringLiteral("comma, not ours"), QStringLiteral("comma, not ours")},
    };
    for (const Case& c : cases) {
        ExportTree t(true, {{-1, c.Cell, QStringLiteral("v")}});
        EXPECT_EQ(t.Tree.ContentToText(tstAll, QChar(';')),
                  QStringLiteral("Meter;Reading\r\n") + c.Expected + QStringLiteral(";v\r\n"))
            << c.Cell.toStdString();
        ExportTree plain(false, {{-1, c.Cell, QString()}});
        EXPECT_EQ(plain.Tree.ContentToText(tstAll, QChar(';')), c.Expected + QStringLiteral("\r\n"));
    }
    ExportTree t(true, {{-1, QStringLiteral("x,y"), QStringLiteral("1;2")}});
    {
        LocaleGuard locale(QLocale(QLocale::English, QLocale::UnitedStates));
        const QByteArray csv = t.Tree.ContentToClipboard(ClipFormatCsv, tstAll);
        EXPECT_TRUE(csv.endsWith(QByteArray("\"x,y\",1;2\r\n") + '\0')) << csv.toStdString();
    }
    {
        // Where the decimal mark is a comma, lists are separated by semicolons.
        LocaleGuard locale(QLocale(QLocale::German, QLocale::Germany));
        const QByteArray csv = t.Tree.ContentToClipboard(ClipFormatCsv, tstAll);
        EXPECT_TRUE(csv.endsWith(QByteArray("x,y;\"1;2\"\r\n") + '\0')) << csv.toStdString();
    }
}

TEST(ContentExport, RichTextIsPlainAsciiWithUnicodeEscapes)
{
    ExportTree t(true, {{-1, QStringLiteral("caf\u00e9\r\nline"), QStringLiteral("\u4e2d")}});
    platform::TFont f(t.Tree.Font());
    f.SetName(QStringLiteral("Fa{n}cy \u00c9"));
    t.Tree.setFont(f);
    const QByteArray rtf = t.Tree.ContentToRTF(tstAll);
    for (char c : rtf)
        ASSERT_TRUE(uchar(c) < 0x80) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\u99\\'3f\\u97\\'3f\\u102\\'3f\\u233\\'3f{\\par}\\u108\\'3f")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\u20013\\'3f"));
    EXPECT_TRUE(rtf.contains("Fa\\{n\\}cy \\u201\\'3f;}")) << rtf.toStdString();
    int depth = 0;
    for (int i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\')
            ++i;
        else if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}')
            ASSERT_GE(--depth, 0);
    }
    EXPECT_EQ(depth, 0);
}

TEST(ContentExport, ExportModeFiltersTablesButNotText)
{
    ExportTree t;
    t.Tree.TreeOptions().SetExportMode(emChecked);
    for (PTreeNode n : t.Nodes)
        t.Tree.SetCheckType(n, ctCheckBox);
    t.Tree.SetCheckState(t.Nodes[2], csCheckedNormal);
    const QString html = t.Tree.ContentToHTML(tstAll);
    EXPECT_TRUE(html.contains(QStringLiteral(">Volume</td>")));
    EXPECT_FALSE(html.contains(QStringLiteral("Meter 1</td>")));
    EXPECT_FALSE(html.contains(QStringLiteral("Energy")));
    const QByteArray rtf = t.Tree.ContentToRTF(tstAll);
    EXPECT_EQ(rtf.count("\\row"), 2);  // header and the one checked node
    std::vector<PTreeNode> exported;
    t.Tree.OnNodeExport = [&](TBaseNodeTree*, TTVExportType, PTreeNode n) { exported.push_back(n); };
    t.Tree.ContentToCustom(tstAll);
    EXPECT_EQ(exported, std::vector<PTreeNode>{t.Nodes[2]});
    EXPECT_EQ(t.Tree.ContentToText(tstAll, QChar('\t')).count(QStringLiteral("\r\n")), 5);
}

TEST(ContentExport, EventsCanRefuseNodesAndCancelTheWalk)
{
    ExportTree t;
    t.Tree.OnBeforeNodeExport = [&](TBaseNodeTree*, TTVExportType, PTreeNode n) { return n != t.Nodes[1]; };
    EXPECT_FALSE(t.Tree.ContentToHTML(tstAll).contains(QStringLiteral("Energy")));
    t.Tree.OnBeforeNodeExport = nullptr;

    int rows = 0;
    t.Tree.OnAfterNodeExport = [&](TBaseNodeTree* tree, TTVExportType, PTreeNode) {
        if (++rows == 2)
            tree->CancelOperation();
    };
    const QString html = t.Tree.ContentToHTML(tstAll);
    EXPECT_EQ(rows, 2);
    EXPECT_TRUE(html.endsWith(QStringLiteral("</table>")));
    EXPECT_FALSE(html.contains(QStringLiteral("Volume")));
}

TEST(ContentExport, HtmlClipboardOffsetsPointAtTheirMarks)
{
    ExportTree t;
    const QByteArray data = t.Tree.ContentToClipboard(ClipFormatHtml, tstAll);
    ASSERT_TRUE(data.endsWith('\0'));
    auto offset = [&](const char* label) {
        const int at = int(data.indexOf(label)) + int(strlen(label));
        return data.mid(at, 8).toInt();
    };
    EXPECT_EQ(offset("StartHTML:"), 97);
    EXPECT_TRUE(data.mid(97).startsWith("<!DOCTYPE"));
    EXPECT_EQ(offset("EndHTML:"), data.size() - 1);
    EXPECT_EQ(data.mid(offset("StartFragment:") - 20, 20), QByteArray("<!--StartFragment-->"));
    EXPECT_TRUE(data.mid(offset("EndFragment:")).startsWith("<!--EndFragment-->"));
    EXPECT_EQ(data.mid(offset("StartFragment:"), offset("EndFragment:") - offset("StartFragment:")),
              t.Tree.ContentToHTML(tstAll).toUtf8());

    const QByteArray unicode = t.Tree.ContentToClipboard(13, tstAll);
    EXPECT_EQ(unicode.size() % 2, 0);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(unicode.constData())),
              t.Tree.ContentToText(tstAll, QChar('\t')));
    EXPECT_TRUE(t.Tree.ContentToClipboard(2, tstAll).isEmpty());
}

TEST(ContentExport, EmptyTreeGivesTheFrameOfEachFormat)
{
    ExportTree t(true, {});
    EXPECT_EQ(t.Tree.ContentToText(tstAll, QChar('\t')), QStringLiteral("Meter\tReading\r\n"));
    const QString html = t.Tree.ContentToHTML(tstAll);
    EXPECT_TRUE(html.contains(QStringLiteral("</tr>\r\n</table>")));
    EXPECT_TRUE(t.Tree.ContentToRTF(tstAll).endsWith("\\row\\pard\\par}"));
    ExportTree plain(false, {});
    EXPECT_EQ(plain.Tree.ContentToText(tstAll, QChar('\t')), QString());
}

TEST(BufferedString, GrowsInWholeStepsAndKeepsItsText)
{
    TBufferedString s;
    EXPECT_EQ(s.Capacity(), 0);
    s.Add(QString());
    EXPECT_EQ(s.Capacity(), 0);
    s.Add(QStringLiteral("abc"));
    EXPECT_EQ(s.Capacity(), 4096);
    s.Add(QString(5000, QChar('x')));
    EXPECT_EQ(s.Capacity(), 4096 + 8192);
    s.AddNewLine();
    EXPECT_EQ(s.AsString(), QStringLiteral("abc") + QString(5000, QChar('x')) + QStringLiteral("\r\n"));
    TBufferedRawByteString r;
    for (int i = 0; i < 3000; ++i)
        r.AddNewLine();
    EXPECT_EQ(r.AsString(), QByteArray("\r\n").repeated(3000));
}

}  // namespace
