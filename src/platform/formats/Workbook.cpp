#include "platform/formats/Workbook.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <freexl.h>
#include <map>
#include <optional>
#include <set>
#include <pugixml.hpp>
#include <xlsxwriter.h>

#include "platform/Exception.h"
#include "platform/formats/OoxmlParts.h"
#include "platform/formats/ZipPackage.h"

namespace platform {

namespace workbook_detail {

using namespace ooxml;

const char* const WorksheetType = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
const char* const WorksheetContent = "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml";

[[noreturn]] void Incorrect() { throw Exception(QStringLiteral("Incorrect XLS file")); }

// "AB12" as column 27 and row 11 (from 0); false for anything else.
bool ParseCellRef(std::string_view ref, int& col, int& row)
{
    size_t i = 0;
    qint64 c = 0, r = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && c <= MaxSheetCols)
        c = c * 26 + (ref[i++] - 'A' + 1);
    const size_t digits = i;
    while (i < ref.size() && ref[i] >= '0' && ref[i] <= '9' && r <= MaxSheetRows)
        r = r * 10 + (ref[i++] - '0');
    if (digits == 0 || i == digits || i != ref.size() || c > MaxSheetCols || r < 1 || r > MaxSheetRows)
        return false;
    col = int(c - 1);
    row = int(r - 1);
    return true;
}

QString ColumnLetters(int col)
{
    QString s;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        s.prepend(QChar(u'A' + (n - 1) % 26));
    return s;
}

QString CellRef(int col, int row) { return ColumnLetters(col) + QString::number(row + 1); }

// What a number format shows: 0 a number, else a date (1), a time (2) or both (3).
int DateKind(int numFmtId, const QString& code)
{
    if (numFmtId >= 14 && numFmtId <= 17)
        return 1;
    if (numFmtId >= 18 && numFmtId <= 21)
        return 2;
    if (numFmtId == 22)
        return 3;
    if (numFmtId == 45 || numFmtId == 46 || numFmtId == 47)
        return 2;
    if (code.isEmpty())
        return 0;
    // Letters outside quotes, brackets and escapes.
    bool date = false, time = false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar ch = code.at(i);
        if (ch == u'"') {
            i = code.indexOf(u'"', i + 1);
            if (i < 0)
                break;
        } else if (ch == u'[') {
            i = code.indexOf(u']', i + 1);
            if (i < 0)
                break;
        } else if (ch == u'\\' || ch == u'_' || ch == u'*') {
            ++i;
        } else {
            const char16_t l = ch.toLower().unicode();
            date = date || l == u'y' || l == u'd';
            time = time || l == u'h' || l == u's';
        }
    }
    return (date ? 1 : 0) | (time ? 2 : 0);
}

QString DateText(double serial, int kind, bool date1904)
{
    if (!std::isfinite(serial) || serial < 0 || serial > 2958466)
        return SheetNumberText(serial);
    qint64 days = qint64(std::floor(serial));
    qint64 seconds = qint64(std::llround((serial - double(days)) * 86400.0));
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    // The 1900 system counts a 29 February 1900 that never was.
    const QDate base = date1904 ? QDate(1904, 1, 1) : days < 60 ? QDate(1899, 12, 31) : QDate(1899, 12, 30);
    const QString d = base.addDays(days).toString(QStringLiteral("yyyy-MM-dd"));
    const QString t = QStringLiteral("%1:%2:%3")
                          .arg(seconds / 3600, 2, 10, QChar(u'0'))
                          .arg(seconds / 60 % 60, 2, 10, QChar(u'0'))
                          .arg(seconds % 60, 2, 10, QChar(u'0'));
    if (kind == 2)
        return t;
    if (kind == 1 && seconds == 0)
        return d;
    return d + u' ' + t;
}

struct TSheetEntry {
    QString Name, Part, RelId;
};

// The workbook part of a ".xlsx" package: its sheets, relations and the parts they name.
struct TXlsxBook {
    QString WorkbookPart, SharedStringsPart, StylesPart;
    std::vector<TSheetEntry> Sheets;
    std::vector<TRelationship> Rels;
    int Active = 0;
    bool Date1904 = false;

    void Load(const TZipPackage& pkg, pugi::xml_document& workbook)
    {
        WorkbookPart = MainPart(pkg, QStringLiteral("xl/workbook.xml"));
        ParseXml(pkg.Read(WorkbookPart, MaxPartBytes), workbook, pkg.Path());
        const pugi::xml_node root = workbook.document_element();
        Rels = ReadRelationships(pkg, WorkbookPart);
        for (const TRelationship& rel : Rels) {
            if (rel.Type.endsWith(QLatin1String("/sharedStrings")))
                SharedStringsPart = rel.Target;
            else if (rel.Type.endsWith(QLatin1String("/styles")))
                StylesPart = rel.Target;
        }
        Date1904 = AttrBool(Child(root, "workbookPr").attribute("date1904"));
        Active = Child(Child(root, "bookViews"), "workbookView").attribute("activeTab").as_int(0);
        for (pugi::xml_node s : Children(Child(root, "sheets"), "sheet")) {
            const QString id = QString::fromUtf8(AttrLocal(s, "id").value());
            const auto rel = std::find_if(Rels.begin(), Rels.end(), [&](const TRelationship& r) { return r.Id == id; });
            // Chart sheets and dialog sheets are no worksheets.
            if (rel == Rels.end() || !rel->Type.endsWith(QLatin1String("/worksheet")))
                continue;
            Sheets.push_back({QString::fromUtf8(s.attribute("name").value()), rel->Target, id});
        }
        // The active tab counts all sheets; a chart sheet in front shows no worksheet.
        Active = std::clamp(Active, 0, std::max(0, int(Sheets.size()) - 1));
    }

    int Find(const QString& name) const
    {
        int found = -1;
        for (size_t i = 0; i < Sheets.size(); ++i)
            if (Sheets[i].Name.compare(name, Qt::CaseInsensitive) == 0)
                found = int(i);
        return found;
    }
};

// "TRUE" from "1" or "true".
QString BoolText(std::string_view v) { return v == "1" || v == "true" ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); }

}  // namespace workbook_detail

using namespace workbook_detail;

QString SheetNumberText(double value)
{
    if (value == 0)
        return QStringLiteral("0");
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return QString::fromLatin1(buffer, written.ptr - buffer);
}

bool IsSheetNumber(const QString& text, double& value)
{
    const qsizetype n = text.size();
    if (n == 0 || n > 24)
        return false;
    // Only these characters can make a number text; most texts fail at their first character.
    char buffer[24];
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = text.at(i).unicode();
        if (!((u >= u'0' && u <= u'9') || u == u'-' || u == u'.' || u == u'e' || u == u'+'))
            return false;
        buffer[i] = char(u);
    }
    const char* const end = buffer + n;
    if (std::from_chars(buffer, end, value).ptr != end || !std::isfinite(value))
        return false;
    // Plain decimals of at most 15 digits, no needless zeros and at least 0.0001 in size read back
    // as written; other forms are compared with their number text.
    const char* p = buffer + (buffer[0] == '-' ? 1 : 0);
    const char* dot = std::find(p, end, '.');
    const bool plain = std::all_of(p, end, [](char c) { return (c >= '0' && c <= '9') || c == '.'; }) &&
                       std::count(p, end, '.') <= 1;
    if (plain && dot > p && (dot - p == 1 || *p != '0') && (dot == end || (dot + 1 < end && end[-1] != '0'))) {
        const bool zeroInt = *p == '0';
        if (zeroInt && dot == end)
            return buffer[0] != '-';
        const char* firstSignificant = p;
        if (zeroInt) {
            firstSignificant = dot + 1;
            while (firstSignificant < end && *firstSignificant == '0')
                ++firstSignificant;
            if (firstSignificant == end || firstSignificant - (dot + 1) >= 4)
                return SheetNumberText(value) == text;
        }
        const qsizetype digits = (end - firstSignificant) - (dot > firstSignificant && dot < end ? 1 : 0);
        if (digits <= 15)
            return true;
    }
    return SheetNumberText(value) == text;
}

struct TWorkbookReader::TImpl {
    QString Path;
    // ".xlsx"
    std::unique_ptr<TZipPackage> Package;
    TXlsxBook Book;
    mutable std::optional<std::vector<QString>> Strings;
    mutable std::optional<std::vector<int>> XfDateKinds;
    // ".xls"
    const void* Xls = nullptr;
    QStringList XlsNames;

    ~TImpl()
    {
        if (Xls)
            freexl_close(Xls);
    }

    const std::vector<QString>& SharedStrings() const
    {
        if (!Strings) {
            std::vector<QString> list;
            if (!Book.SharedStringsPart.isEmpty() && Package->Has(Book.SharedStringsPart)) {
                const QByteArray bytes = Package->Read(Book.SharedStringsPart);
                ForEachElement(bytes, "si", Path, [&](pugi::xml_node si) { list.push_back(RunText(si)); });
            }
            Strings = std::move(list);
        }
        return *Strings;
    }

    const std::vector<int>& DateKinds() const
    {
        if (!XfDateKinds) {
            std::vector<int> kinds;
            if (!Book.StylesPart.isEmpty() && Package->Has(Book.StylesPart)) {
                pugi::xml_document doc;
                ParseXml(Package->Read(Book.StylesPart, MaxPartBytes), doc, Path);
                const pugi::xml_node root = doc.document_element();
                std::map<int, QString> codes;
                for (pugi::xml_node f : Children(Child(root, "numFmts"), "numFmt"))
                    codes[f.attribute("numFmtId").as_int()] = QString::fromUtf8(f.attribute("formatCode").value());
                for (pugi::xml_node xf : Children(Child(root, "cellXfs"), "xf")) {
                    const int id = xf.attribute("numFmtId").as_int();
                    const auto code = codes.find(id);
                    kinds.push_back(DateKind(id, code == codes.end() ? QString() : code->second));
                }
            }
            XfDateKinds = std::move(kinds);
        }
        return *XfDateKinds;
    }

    TSheetData ReadXlsx(int index, const TSheetLimits& limits) const;
    TSheetData ReadXls(int index, const TSheetLimits& limits) const;
};

namespace workbook_detail {

// Keeps the used range and the values, and stops as soon as the range is beyond the limits.
struct TRangeCollector {
    const TSheetLimits& Limits;
    const QString& Sheet;
    TSheetData Data;
    bool Any = false, Ordered = true;

    void Add(int row, int col, QString text)
    {
        if (!Any) {
            Data.FirstRow = Data.LastRow = row;
            Data.FirstCol = Data.LastCol = col;
            Any = true;
        } else {
            if (!Data.Cells.empty()) {
                const TSheetCell& last = Data.Cells.back();
                Ordered = Ordered && (row > last.Row || (row == last.Row && col > last.Col));
            }
            Data.FirstRow = std::min(Data.FirstRow, row);
            Data.LastRow = std::max(Data.LastRow, row);
            Data.FirstCol = std::min(Data.FirstCol, col);
            Data.LastCol = std::max(Data.LastCol, col);
            Check();
        }
        Data.Cells.push_back({row, col, std::move(text)});
    }

    void Check() const
    {
        if (Data.RowSpan() > Limits.MaxRows)
            throw Exception(QStringLiteral("The sheet \"%1\" uses more than %2 rows, more than a grid loads")
                                .arg(Sheet)
                                .arg(Limits.MaxRows));
        if (Data.ColSpan() > Limits.MaxCols)
            throw Exception(QStringLiteral("The sheet \"%1\" uses more than %2 columns, more than a grid loads")
                                .arg(Sheet)
                                .arg(Limits.MaxCols));
        if (qint64(Data.RowSpan()) * Data.ColSpan() > Limits.MaxCells)
            throw Exception(QStringLiteral("The sheet \"%1\" uses more than %2 cells, more than a grid loads")
                                .arg(Sheet)
                                .arg(Limits.MaxCells));
    }

    TSheetData Finish()
    {
        if (!Ordered) {
            std::stable_sort(Data.Cells.begin(), Data.Cells.end(), [](const TSheetCell& a, const TSheetCell& b) {
                return a.Row != b.Row ? a.Row < b.Row : a.Col < b.Col;
            });
            // A position given twice keeps its last value.
            std::vector<TSheetCell> unique;
            for (TSheetCell& c : Data.Cells) {
                if (!unique.empty() && unique.back().Row == c.Row && unique.back().Col == c.Col)
                    unique.back() = std::move(c);
                else
                    unique.push_back(std::move(c));
            }
            Data.Cells = std::move(unique);
        }
        return std::move(Data);
    }
};

}  // namespace workbook_detail

TSheetData TWorkbookReader::TImpl::ReadXlsx(int index, const TSheetLimits& limits) const
{
    const TSheetEntry& sheet = Book.Sheets.at(size_t(index));
    const QByteArray bytes = Package->Read(sheet.Part);
    const std::vector<QString>& strings = SharedStrings();
    TRangeCollector range{limits, sheet.Name, {}};
    int row = -1;
    ForEachElement(bytes, "row", Path, [&](pugi::xml_node r) {
        const pugi::xml_attribute rowAttr = r.attribute("r");
        row = rowAttr ? rowAttr.as_int() - 1 : row + 1;
        if (row < 0 || row >= MaxSheetRows)
            Incorrect();
        int col = -1;
        for (pugi::xml_node c : Children(r, "c")) {
            const pugi::xml_attribute ref = c.attribute("r");
            int cellRow = row;
            if (ref) {
                if (!ParseCellRef(ref.value(), col, cellRow))
                    Incorrect();
            } else if (++col >= MaxSheetCols) {
                Incorrect();
            }
            const std::string_view type = c.attribute("t").value();
            const pugi::xml_node v = Child(c, "v");
            QString text;
            if (type == "inlineStr") {
                const pugi::xml_node is = Child(c, "is");
                if (!is)
                    continue;
                text = RunText(is);
            } else {
                if (!v)
                    continue;
                const char* value = v.child_value();
                if (type == "s") {
                    char* end = nullptr;
                    const long i = std::strtol(value, &end, 10);
                    if (end == value || *end || i < 0 || size_t(i) >= strings.size())
                        Incorrect();
                    text = strings[size_t(i)];
                } else if (type == "e") {
                    continue;
                } else if (type == "b") {
                    text = BoolText(value);
                } else if (type == "str" || type == "d") {
                    text = DecodeEscapes(QString::fromUtf8(value));
                } else {
                    char* end = nullptr;
                    const double d = std::strtod(value, &end);
                    if (end == value || *end || !std::isfinite(d))
                        Incorrect();
                    const std::vector<int>& kinds = DateKinds();
                    const unsigned s = c.attribute("s").as_uint();
                    const int kind = s < kinds.size() ? kinds[s] : 0;
                    text = kind ? DateText(d, kind, Book.Date1904) : SheetNumberText(d);
                }
            }
            range.Add(cellRow, col, std::move(text));
        }
    });
    return range.Finish();
}

TSheetData TWorkbookReader::TImpl::ReadXls(int index, const TSheetLimits& limits) const
{
    const QString name = XlsNames.at(index);
    if (freexl_select_active_worksheet(Xls, unsigned(index)) != FREEXL_OK)
        Incorrect();
    unsigned rows = 0;
    unsigned short cols = 0;
    if (freexl_worksheet_dimensions(Xls, &rows, &cols) != FREEXL_OK)
        Incorrect();
    TRangeCollector range{limits, name, {}};
    for (unsigned r = 0; r < rows; ++r) {
        for (unsigned c = 0; c < cols; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(Xls, r, static_cast<unsigned short>(c), &cell) != FREEXL_OK)
                Incorrect();
            QString text;
            switch (cell.type) {
            case FREEXL_CELL_NULL: continue;
            case FREEXL_CELL_INT: text = QString::number(cell.value.int_value); break;
            case FREEXL_CELL_DOUBLE: text = SheetNumberText(cell.value.double_value); break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME: text = QString::fromUtf8(cell.value.text_value ? cell.value.text_value : ""); break;
            default: continue;
            }
            range.Add(int(r), int(c), std::move(text));
        }
    }
    return range.Finish();
}

TWorkbookReader::TWorkbookReader(const QString& path) : Impl(std::make_unique<TImpl>())
{
    Impl->Path = path;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("The workbook \"%1\" cannot be opened: %2").arg(path, f.errorString()));
    const QByteArray head = f.read(8);
    f.close();
    if (head.startsWith("PK\x03\x04")) {
        Impl->Package = std::make_unique<TZipPackage>(path, TZipPackage::zmRead);
        pugi::xml_document workbook;
        Impl->Book.Load(*Impl->Package, workbook);
        return;
    }
    if (head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        const int error = freexl_open(QFile::encodeName(path).constData(), &Impl->Xls);
        unsigned password = 0, count = 0;
        if (error == FREEXL_OK && freexl_get_info(Impl->Xls, FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
            password != FREEXL_BIFF_PLAIN)
            throw Exception(QStringLiteral("The workbook \"%1\" is protected by a password").arg(path));
        if (error != FREEXL_OK || freexl_get_info(Impl->Xls, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK)
            throw Exception(QStringLiteral("The workbook \"%1\" is damaged or no .xls workbook (error %2)")
                                .arg(path)
                                .arg(error));
        for (unsigned i = 0; i < count; ++i) {
            const char* name = nullptr;
            if (freexl_get_worksheet_name(Impl->Xls, static_cast<unsigned short>(i), &name) != FREEXL_OK)
                Incorrect();
            Impl->XlsNames << QString::fromUtf8(name ? name : "");
        }
        return;
    }
    throw Exception(QStringLiteral("The file \"%1\" is no workbook (.xlsx or .xls)").arg(path));
}

TWorkbookReader::~TWorkbookReader() = default;

QStringList TWorkbookReader::SheetNames() const
{
    if (!Impl->Package)
        return Impl->XlsNames;
    QStringList names;
    for (const TSheetEntry& s : Impl->Book.Sheets)
        names << s.Name;
    return names;
}

int TWorkbookReader::ActiveSheet() const { return Impl->Package ? Impl->Book.Active : 0; }

TSheetData TWorkbookReader::ReadSheet(int index, const TSheetLimits& limits) const
{
    if (index < 0 || index >= SheetNames().size())
        throw Exception(QStringLiteral("The workbook \"%1\" has no worksheet").arg(Impl->Path));
    TSheetData data = Impl->Package ? Impl->ReadXlsx(index, limits) : Impl->ReadXls(index, limits);
    if (data.Cells.empty())
        data = TSheetData{};
    return data;
}

// Writing

namespace workbook_detail {

void CheckSheetName(const QString& name)
{
    static const QString forbidden = QStringLiteral("[]:*?/\\");
    bool ok = !name.isEmpty() && name.size() <= 31 && !name.startsWith(u'\'') && !name.endsWith(u'\'');
    for (QChar c : name)
        ok = ok && !forbidden.contains(c);
    if (!ok)
        throw Exception(QStringLiteral("\"%1\" cannot name a worksheet: 1 to 31 characters without [ ] : * ? / \\")
                            .arg(name));
}

void CheckCellText(const QString& text, int row, int col)
{
    if (text.size() > MaxSheetCellChars)
        throw Exception(QStringLiteral("The cell %1 holds more than %2 characters, more than a worksheet cell holds")
                            .arg(CellRef(col, row))
                            .arg(MaxSheetCellChars));
}

void WriteNewWorkbook(const QString& path, const QString& sheetName, const TSheetBlock& block)
{
    const QFileInfo info(path);
    QTemporaryFile temp(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!temp.open())
        throw Exception(QStringLiteral("The file \"%1\" cannot be written: %2").arg(path, temp.errorString()));
    temp.close();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(QFile::encodeName(temp.fileName()).constData(), &options);
    if (!book)
        throw Exception(QStringLiteral("The file \"%1\" cannot be written").arg(path));
    lxw_worksheet* sheet = workbook_add_worksheet(book, sheetName.toUtf8().constData());
    lxw_error error = sheet ? LXW_NO_ERROR : LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED;
    try {
        std::vector<QString> row;
        QByteArray utf8;
        for (int r = 0; r < block.Rows && error == LXW_NO_ERROR; ++r) {
            row.assign(size_t(block.Cols), QString());
            block.Row(r, row);
            for (int c = 0; c < block.Cols && error == LXW_NO_ERROR; ++c) {
                const QString& text = row[size_t(c)];
                double number = 0;
                if (text.isEmpty())
                    continue;
                if (IsSheetNumber(text, number)) {
                    error = worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), number, nullptr);
                    continue;
                }
                CheckCellText(text, r, c);
                utf8 = text.toUtf8();
                error = worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c), utf8.constData(), nullptr);
            }
        }
    } catch (...) {
        workbook_close(book);
        throw;
    }
    const lxw_error closed = workbook_close(book);
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error != LXW_NO_ERROR)
        throw Exception(QStringLiteral("The file \"%1\" cannot be written: %2").arg(path, QString::fromUtf8(lxw_strerror(error))));
    // The new file replaces the target whole.
    if (std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(path).constData()) != 0)
        throw Exception(QStringLiteral("The file \"%1\" cannot be written").arg(path));
    temp.setAutoRemove(false);
}

// A cell of the block as a worksheet element (replacing whatever stood there, keeping its style).
void SetCell(pugi::xml_node cell, const QString& ref, const QString& text, const char* style)
{
    cell.append_attribute("r").set_value(ref.toUtf8().constData());
    if (style && *style)
        cell.append_attribute("s").set_value(style);
    double number = 0;
    const std::string prefix = Prefix(cell.parent());
    if (IsSheetNumber(text, number)) {
        cell.append_child((prefix + "v").c_str()).text().set(SheetNumberText(number).toUtf8().constData());
        return;
    }
    cell.append_attribute("t").set_value("inlineStr");
    pugi::xml_node t = cell.append_child((prefix + "is").c_str()).append_child((prefix + "t").c_str());
    t.append_attribute("xml:space").set_value("preserve");
    t.text().set(EncodeEscapes(text).toUtf8().constData());
}

// Writes the block into the worksheet document from the start row, column A.
void MergeBlock(pugi::xml_document& doc, int startRow, const TSheetBlock& block, const QString& path)
{
    pugi::xml_node root = doc.document_element();
    pugi::xml_node data = Child(root, "sheetData");
    if (!data)
        throw Exception(QStringLiteral("The workbook \"%1\" has a worksheet without data").arg(path));
    // The stored used range would be stale.
    if (pugi::xml_node dim = Child(root, "dimension"))
        root.remove_child(dim);
    const std::string prefix = Prefix(root);
    std::map<int, pugi::xml_node> rows;
    int implied = -1;
    for (pugi::xml_node r : Children(data, "row")) {
        implied = r.attribute("r") ? r.attribute("r").as_int() - 1 : implied + 1;
        if (!r.attribute("r"))
            r.append_attribute("r").set_value(implied + 1);
        rows[implied] = r;
    }
    // Shared formulas whose first cell the block replaces: their other cells lose the formula
    // they borrowed and keep their values.
    std::set<std::string> orphanedShared;
    std::vector<QString> texts;
    for (int i = 0; i < block.Rows; ++i) {
        const int rowIndex = startRow + i;
        texts.assign(size_t(block.Cols), QString());
        block.Row(i, texts);
        pugi::xml_node row;
        if (auto it = rows.find(rowIndex); it != rows.end()) {
            row = it->second;
        } else {
            const auto next = rows.upper_bound(rowIndex);
            row = next == rows.end() ? data.append_child((prefix + "row").c_str())
                                     : data.insert_child_before((prefix + "row").c_str(), next->second);
            row.append_attribute("r").set_value(rowIndex + 1);
            rows[rowIndex] = row;
        }
        row.remove_attribute("spans");
        // The cells under the block go; their styles stay with the new values.
        std::map<int, std::string> styles;
        int col = -1;
        for (pugi::xml_node c = Child(row, "c"); c;) {
            const pugi::xml_node next = c.next_sibling();
            int cellRow = rowIndex;
            if (!c.attribute("r") || !ParseCellRef(c.attribute("r").value(), col, cellRow))
                ++col;
            if (!c.attribute("r"))
                c.append_attribute("r").set_value(CellRef(col, rowIndex).toUtf8().constData());
            if (col < block.Cols) {
                styles[col] = c.attribute("s").value();
                const pugi::xml_node f = Child(c, "f");
                if (std::string_view(f.attribute("t").value()) == "shared" && f.attribute("ref"))
                    orphanedShared.insert(f.attribute("si").value());
                row.remove_child(c);
            }
            c = next;
        }
        pugi::xml_node before = Child(row, "c");
        for (int c = 0; c < block.Cols; ++c) {
            const QString& text = texts[size_t(c)];
            const auto style = styles.find(c);
            if (text.isEmpty() && style == styles.end())
                continue;
            CheckCellText(text, rowIndex, c);
            const std::string cname = prefix + "c";
            pugi::xml_node cell = before ? row.insert_child_before(cname.c_str(), before) : row.append_child(cname.c_str());
            if (text.isEmpty()) {
                cell.append_attribute("r").set_value(CellRef(c, rowIndex).toUtf8().constData());
                if (!style->second.empty())
                    cell.append_attribute("s").set_value(style->second.c_str());
                continue;
            }
            SetCell(cell, CellRef(c, rowIndex), text, style == styles.end() ? nullptr : style->second.c_str());
        }
    }
    if (orphanedShared.empty())
        return;
    for (pugi::xml_node r : Children(data, "row"))
        for (pugi::xml_node c : Children(r, "c")) {
            const pugi::xml_node f = Child(c, "f");
            if (std::string_view(f.attribute("t").value()) == "shared" && !f.attribute("ref") &&
                orphanedShared.count(f.attribute("si").value()))
                c.remove_child(f);
        }
}

// The row of the sheet's active cell (from 0); 0 when it names none.
int ActiveRow(const pugi::xml_document& doc)
{
    const pugi::xml_node view = Child(Child(doc.document_element(), "sheetViews"), "sheetView");
    for (pugi::xml_node sel : Children(view, "selection")) {
        int col = 0, row = 0;
        if (ParseCellRef(sel.attribute("activeCell").value(), col, row))
            return row;
    }
    return 0;
}

void WriteIntoWorkbook(const QString& path, const TSheetTarget& target, const TSheetBlock& block)
{
    TZipPackage pkg(path, TZipPackage::zmModify);
    pugi::xml_document workbook;
    TXlsxBook book;
    book.Load(pkg, workbook);
    int index = target.SheetName.isEmpty() ? (book.Sheets.empty() ? -1 : book.Active) : book.Find(target.SheetName);
    pugi::xml_document sheet;
    QString part;
    int startRow = 0;
    if (index >= 0) {
        part = book.Sheets[size_t(index)].Part;
        ParseXml(pkg.Read(part), sheet, path);
        if (target.SheetName.isEmpty())
            startRow = ActiveRow(sheet);
    } else {
        // A new worksheet at the end of the workbook.
        const QString name = target.SheetName.isEmpty() ? QStringLiteral("Sheet1") : target.SheetName;
        for (int n = 1;; ++n) {
            part = QStringLiteral("xl/worksheets/sheet%1.xml").arg(n);
            if (!pkg.Has(part))
                break;
        }
        const char* empty = "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                            "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
                            "<sheetData/></worksheet>";
        sheet.load_string(empty);
        const QString relId = AddRelationship(pkg, book.WorkbookPart, WorksheetType, part);
        pugi::xml_node sheets = Child(workbook.document_element(), "sheets");
        unsigned maxId = 0;
        for (pugi::xml_node s : Children(sheets, "sheet"))
            maxId = std::max(maxId, s.attribute("sheetId").as_uint());
        pugi::xml_node s = sheets.append_child(QualifiedName(sheets, "sheet").c_str());
        s.append_attribute("name").set_value(name.toUtf8().constData());
        s.append_attribute("sheetId").set_value(maxId + 1);
        s.append_attribute(RelationshipAttribute(workbook).c_str()).set_value(relId.toUtf8().constData());
        pkg.Put(book.WorkbookPart, SaveXml(workbook));
        AddContentType(pkg, part, WorksheetContent);
    }
    if (qint64(startRow) + block.Rows > MaxSheetRows)
        throw Exception(QStringLiteral("The block does not fit below row %1 of the worksheet").arg(startRow + 1));
    MergeBlock(sheet, startRow, block, path);
    pkg.Put(part, SaveXml(sheet));
    // The calculation chain may name cells that now hold values: the spreadsheet rebuilds it.
    for (const TRelationship& rel : book.Rels)
        if (rel.Type.endsWith(QLatin1String("/calcChain"))) {
            RemovePart(pkg, book.WorkbookPart, rel);
            break;
        }
    pkg.Commit();
}

}  // namespace workbook_detail

void WriteWorkbookSheet(const QString& path, const TSheetTarget& target, const TSheetBlock& block)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        throw Exception(QStringLiteral("\"%1\" cannot be written: workbooks are written as \".xlsx\" files, not as "
                                       "\".xls\"; choose a name ending in \".xlsx\"")
                            .arg(path));
    if (!target.SheetName.isEmpty())
        CheckSheetName(target.SheetName);
    if (block.Rows > MaxSheetRows || block.Cols > MaxSheetCols)
        throw Exception(QStringLiteral("%1 rows and %2 columns do not fit in a worksheet (at most %3 rows, %4 columns)")
                            .arg(block.Rows)
                            .arg(block.Cols)
                            .arg(MaxSheetRows)
                            .arg(MaxSheetCols));
    const bool exists = QFileInfo::exists(path);
    if (!exists || (target.SheetName.isEmpty() && target.NewWorkbook)) {
        WriteNewWorkbook(path, target.SheetName.isEmpty() ? QStringLiteral("Sheet1") : target.SheetName, block);
        return;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || !f.read(4).startsWith("PK\x03\x04"))
        throw Exception(QStringLiteral("\"%1\" is no \".xlsx\" workbook; it is left as it is").arg(path));
    f.close();
    WriteIntoWorkbook(path, target, block);
}

}  // namespace platform
