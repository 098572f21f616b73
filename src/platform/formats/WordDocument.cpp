#include "platform/formats/WordDocument.h"

#include <QFileInfo>
#include <QStringList>

#include "platform/Exception.h"
#include "platform/formats/OoxmlParts.h"
#include "platform/formats/ZipPackage.h"

namespace platform {

namespace docx_detail {

using namespace ooxml;

const char* const WordNs = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
// The text width of an A4 page with margins of 2.5 cm, in twentieths of a point.
constexpr int TextWidth = 9638;

// Characters XML 1.0 cannot carry become blanks.
QString PlainXmlText(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0xFFFE || c.unicode() == 0xFFFF)
            c = u' ';
    return out;
}

void AddParagraph(pugi::xml_node parent, pugi::xml_node before, const std::string& w, const QString& line, TDocAlign align)
{
    const std::string p = w + "p";
    pugi::xml_node para = before ? parent.insert_child_before(p.c_str(), before) : parent.append_child(p.c_str());
    if (align != TDocAlign::Left)
        para.append_child((w + "pPr").c_str())
            .append_child((w + "jc").c_str())
            .append_attribute((w + "val").c_str())
            .set_value(align == TDocAlign::Right ? "right" : "center");
    if (line.isEmpty())
        return;
    pugi::xml_node t = para.append_child((w + "r").c_str()).append_child((w + "t").c_str());
    t.append_attribute("xml:space").set_value("preserve");
    t.text().set(PlainXmlText(line).toUtf8().constData());
}

// The caption, the table and a paragraph after it (a table may not end a body or a cell), all
// before `before` (or at the end of parent).
void InsertTable(pugi::xml_node parent, pugi::xml_node before, const TDocTable& table)
{
    if (qint64(table.Rows) * table.Cols > MaxDocCells)
        throw Exception(QStringLiteral("A table of %1 × %2 cells is more than a document holds").arg(table.Rows).arg(table.Cols));
    const std::string w = Prefix(parent);
    auto add = [&](const char* local) {
        const std::string name = w + local;
        return before ? parent.insert_child_before(name.c_str(), before) : parent.append_child(name.c_str());
    };
    if (!table.Caption.isEmpty())
        AddParagraph(parent, before, w, table.Caption, TDocAlign::Left);
    pugi::xml_node tbl = add("tbl");
    pugi::xml_node pr = tbl.append_child((w + "tblPr").c_str());
    pugi::xml_node width = pr.append_child((w + "tblW").c_str());
    width.append_attribute((w + "w").c_str()).set_value(0);
    width.append_attribute((w + "type").c_str()).set_value("auto");
    pugi::xml_node borders = pr.append_child((w + "tblBorders").c_str());
    for (const char* side : {"top", "left", "bottom", "right", "insideH", "insideV"}) {
        pugi::xml_node b = borders.append_child((w + side).c_str());
        b.append_attribute((w + "val").c_str()).set_value("single");
        b.append_attribute((w + "sz").c_str()).set_value(4);
        b.append_attribute((w + "space").c_str()).set_value(0);
        b.append_attribute((w + "color").c_str()).set_value("auto");
    }
    const int colWidth = table.Cols > 0 ? std::max(1, TextWidth / table.Cols) : TextWidth;
    pugi::xml_node grid = tbl.append_child((w + "tblGrid").c_str());
    for (int c = 0; c < table.Cols; ++c)
        grid.append_child((w + "gridCol").c_str()).append_attribute((w + "w").c_str()).set_value(colWidth);
    std::vector<TDocCell> cells;
    for (int r = 0; r < table.Rows; ++r) {
        cells.assign(size_t(table.Cols), TDocCell{});
        table.Row(r, cells);
        pugi::xml_node tr = tbl.append_child((w + "tr").c_str());
        for (const TDocCell& cell : cells) {
            pugi::xml_node tc = tr.append_child((w + "tc").c_str());
            pugi::xml_node tcW = tc.append_child((w + "tcPr").c_str()).append_child((w + "tcW").c_str());
            tcW.append_attribute((w + "w").c_str()).set_value(colWidth);
            tcW.append_attribute((w + "type").c_str()).set_value("dxa");
            QString text = cell.Text;
            text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
            for (const QString& line : text.split(u'\n'))
                AddParagraph(tc, {}, w, line, cell.Align);
        }
    }
    pugi::xml_node next = tbl.next_sibling();
    if (!next || LocalName(next.name()) != "p")
        AddParagraph(parent, next, w, QString(), TDocAlign::Left);
}

pugi::xml_node FindBookmark(pugi::xml_node node, const QString& name)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
        if (c.type() != pugi::node_element)
            continue;
        if (LocalName(c.name()) == "bookmarkStart" &&
            QString::fromUtf8(AttrLocal(c, "name").value()).compare(name, Qt::CaseInsensitive) == 0)
            return c;
        if (pugi::xml_node found = FindBookmark(c, name))
            return found;
    }
    return {};
}

// The body's closing section properties, before which the end of the document lies.
pugi::xml_node EndOfBody(pugi::xml_node body)
{
    pugi::xml_node last = body.last_child();
    while (last && last.type() != pugi::node_element)
        last = last.previous_sibling();
    return last && LocalName(last.name()) == "sectPr" ? last : pugi::xml_node();
}

}  // namespace docx_detail

using namespace docx_detail;

void WriteDocxTable(const QString& path, const TDocTable& table)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("w:document");
    root.append_attribute("xmlns:w").set_value(WordNs);
    pugi::xml_node body = root.append_child("w:body");
    pugi::xml_node sect = body.append_child("w:sectPr");
    pugi::xml_node size = sect.append_child("w:pgSz");
    size.append_attribute("w:w").set_value(11906);
    size.append_attribute("w:h").set_value(16838);
    pugi::xml_node margins = sect.append_child("w:pgMar");
    for (const char* side : {"w:top", "w:right", "w:bottom", "w:left"})
        margins.append_attribute(side).set_value(1134);
    InsertTable(body, sect, table);
    if (QFileInfo(path).isDir())
        throw Exception(QStringLiteral("The file \"%1\" cannot be written: it is a folder").arg(path));
    TZipPackage pkg(path, TZipPackage::zmCreate);
    pkg.Put(QStringLiteral("[Content_Types].xml"),
            QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                              "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                              "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                              "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                              "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
                              "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>"));
    pkg.Put(QStringLiteral("_rels/.rels"),
            QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
                              "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                              "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                              "relationships/officeDocument\" Target=\"word/document.xml\"/></Relationships>"));
    pkg.Put(QStringLiteral("word/document.xml"), SaveXml(doc));
    pkg.Commit();
}

void AppendDocxTable(const QString& path, const QString& bookmark, const TDocTable& table)
{
    if (!QFileInfo(path).isFile())
        throw Exception(QStringLiteral("The document \"%1\" was not found").arg(path));
    TZipPackage pkg(path, TZipPackage::zmModify);
    const QString part = MainPart(pkg, QStringLiteral("word/document.xml"));
    pugi::xml_document doc;
    ParseXml(pkg.Read(part, MaxPartBytes), doc, path);
    pugi::xml_node body = Child(doc.document_element(), "body");
    if (!body)
        throw Exception(QStringLiteral("The document \"%1\" is damaged: it has no body").arg(path));
    pugi::xml_node mark = bookmark.isEmpty() ? pugi::xml_node() : FindBookmark(body, bookmark);
    pugi::xml_node paragraph = mark;
    while (paragraph && LocalName(paragraph.name()) != "p")
        paragraph = paragraph.parent();
    if (paragraph) {
        InsertTable(paragraph.parent(), paragraph.next_sibling(), table);
    } else if (mark && (LocalName(mark.parent().name()) == "body" || LocalName(mark.parent().name()) == "tc")) {
        InsertTable(mark.parent(), mark.next_sibling(), table);
    } else {
        InsertTable(body, EndOfBody(body), table);
    }
    pkg.Put(part, SaveXml(doc));
    pkg.Commit();
}

}  // namespace platform
