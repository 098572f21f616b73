#include "grid/editing/GridDragDrop.h"

#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>
#include <algorithm>

#include "grid/core/GridHelperControls.h"
#include "grid/editing/GridClipboard.h"
#include "grid/editing/GridUndoRedo.h"
#include "platform/Bytes.h"
#include "platform/Dialogs.h"

namespace grid::editing {

namespace {

bool& RichTextFlag()
{
    static bool flag = false;
    return flag;
}

// Cells of a stream: at most what the grid could ever hold, so a hostile count allocates nothing.
constexpr uint32_t MaxStreamCells = 1u << 20;

QByteArray Int32Bytes(int32_t value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((uint32_t(value) >> (8 * i)) & 0xFF);
    return bytes;
}

enum TArrow { arwUp = 0, arwDown = 1, arwLeft = 2, arwRight = 3 };

// Tells the drag's source what the drop did: nothing, or the effect taken.
void AnswerDrop(QDropEvent& e, Qt::DropAction effect)
{
    if (effect == Qt::IgnoreAction) {
        e.ignore();
    } else {
        e.setDropAction(effect);
        e.accept();
    }
}

// True when every line of the drag's plain text names one of its links (address or local path):
// that text only repeats the links, as file managers send it beside dragged files, and is not
// dropped as text.
bool TextOnlyNamesLinks(const QMimeData& data)
{
    if (!data.hasUrls())
        return false;
    QStringList names;
    for (const QUrl& url : data.urls()) {
        names << url.toString() << QString::fromUtf8(url.toEncoded());
        if (url.isLocalFile())
            names << url.toLocalFile();
    }
    const QStringList lines = data.text().split(QRegularExpression(QStringLiteral("[\r\n]+")), Qt::SkipEmptyParts);
    return !lines.isEmpty() && std::all_of(lines.begin(), lines.end(), [&](const QString& line) {
        return names.contains(line.trimmed());
    });
}

}  // namespace

bool OleRichTextFlag() { return RichTextFlag(); }

// Reading a drag's data

bool TEnumFormats::HasText() const { return FData && FData->hasText() && !TextOnlyNamesLinks(*FData); }

bool TEnumFormats::HasFile() const { return !Files().isEmpty(); }

bool TEnumFormats::HasRTF() const { return FData && FData->hasFormat(QString::fromLatin1(MimeRichText)); }

bool TEnumFormats::HasCol() const { return FData && FData->hasFormat(QString::fromLatin1(MimeGridColumn)); }

bool TEnumFormats::HasURL() const
{
    if (!FData || !FData->hasUrls())
        return false;
    const QList<QUrl> urls = FData->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& u) { return !u.isLocalFile() && u.isValid(); });
}

bool TEnumFormats::HasGridCells() const { return FData && FData->hasFormat(QString::fromLatin1(MimeGridCells)); }

TDropFormats TEnumFormats::Formats() const
{
    TDropFormats f = 0;
    if (HasText())
        f |= dfText;
    if (HasFile())
        f |= dfFile;
    if (HasCol())
        f |= dfCol;
    if (HasRTF())
        f |= dfRTF;
    if (HasURL())
        f |= dfURL;
    if (HasGridCells())
        f |= dfGridCells;
    return f;
}

QString TEnumFormats::Text() const { return HasText() ? FData->text() : QString(); }

QString TEnumFormats::RTF() const
{
    // 8-bit characters; the writer keeps everything beyond them in escapes.
    return HasRTF() ? QString::fromLatin1(FData->data(QString::fromLatin1(MimeRichText))) : QString();
}

int TEnumFormats::Col() const
{
    if (!HasCol())
        return -1;
    const QByteArray bytes = FData->data(QString::fromLatin1(MimeGridColumn));
    if (bytes.size() < 4)
        return -1;
    platform::ByteReader reader(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
    return int32_t(reader.U32LE());
}

std::optional<std::vector<uint8_t>> TEnumFormats::Stream() const
{
    if (!HasGridCells())
        return std::nullopt;
    const QByteArray bytes = FData->data(QString::fromLatin1(MimeGridCells));
    platform::ByteReader reader(std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())));
    const uint32_t length = reader.U32LE();
    reader.U32LE();
    const std::span<const uint8_t> body = reader.Bytes(length);
    if (!reader.Ok())
        return std::nullopt;
    return std::vector<uint8_t>(body.begin(), body.end());
}

QStringList TEnumFormats::Files() const
{
    QStringList names;
    if (!FData || !FData->hasUrls())
        return names;
    for (const QUrl& url : FData->urls())
        if (url.isLocalFile())
            names << url.toLocalFile();
    return names;
}

QString TEnumFormats::URL() const
{
    if (HasText())
        return FData->text();
    if (FData && FData->hasUrls())
        for (const QUrl& url : FData->urls())
            if (!url.isLocalFile())
                return url.toString();
    return {};
}

std::unique_ptr<QMimeData> MakeSourceData(const QString& text, const QString& rtf, int col,
                                          const std::vector<uint8_t>* cells)
{
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    if (RichTextFlag())
        data->setData(QString::fromLatin1(MimeRichText), rtf.toLatin1());
    if (col != -1)
        data->setData(QString::fromLatin1(MimeGridColumn), Int32Bytes(col));
    if (cells) {
        QByteArray block = Int32Bytes(int32_t(cells->size())) + Int32Bytes(0);
        block.append(reinterpret_cast<const char*>(cells->data()), qsizetype(cells->size()));
        data->setData(QString::fromLatin1(MimeGridCells), block);
    }
    return data;
}

// The cell stream

std::vector<uint8_t> SaveRectToBinStream(TExtStringGrid& grid, const TGridRect& rect)
{
    if (TGridDataOps* ops = grid.DataOps()) {
        std::vector<uint8_t> out;
        if (ops->SaveCellStream(rect, out))
            return out;
    }
    const int left = std::max(0, std::min(rect.Left, rect.Right));
    const int right = std::min(grid.ColCount() - 1, std::max(rect.Left, rect.Right));
    const int top = std::max(0, std::min(rect.Top, rect.Bottom));
    const int bottom = std::min(grid.RowCount() - 1, std::max(rect.Top, rect.Bottom));
    platform::ByteWriter w;
    w.U32LE(uint32_t(std::max(0, right - left + 1)));
    w.U32LE(uint32_t(std::max(0, bottom - top + 1)));
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            const QString text = grid.Cells(grid.DisplToRealCol(c), r);
            w.U32LE(uint32_t(text.size()));
            for (QChar ch : text)
                w.U16LE(ch.unicode());
        }
    }
    return w.Take();
}

bool LoadAtPointFromBinStream(TExtStringGrid& grid, int c, int r, std::span<const uint8_t> stream)
{
    if (TGridDataOps* ops = grid.DataOps(); ops && ops->HasCellStream())
        return ops->LoadCellStream(c, r, stream);
    platform::ByteReader reader(stream);
    const uint32_t cols = reader.U32LE(), rows = reader.U32LE();
    if (!reader.Ok() || cols == 0 || rows == 0 || uint64_t(cols) * rows > MaxStreamCells)
        return false;
    // Read whole first: a stream cut short changes nothing.
    std::vector<QString> texts;
    texts.reserve(size_t(cols) * rows);
    for (uint64_t i = 0; i < uint64_t(cols) * rows; ++i) {
        const uint32_t length = reader.U32LE();
        if (!reader.Ok() || uint64_t(length) * 2 > reader.Remaining())
            return false;
        QString text(qsizetype(length), Qt::Uninitialized);
        for (uint32_t k = 0; k < length; ++k)
            text[qsizetype(k)] = QChar(reader.U16LE());
        texts.push_back(std::move(text));
    }
    if (!reader.Ok())
        return false;
    TUndoGroup group(grid);
    for (uint32_t j = 0; j < rows; ++j) {
        const int row = r + int(j);
        if (row < grid.FixedRows() || row >= grid.RowCount())
            continue;
        for (uint32_t i = 0; i < cols; ++i) {
            const int col = c + int(i);
            if (col < grid.FixedCols() || col >= grid.ColCount() || grid.IsFixed(col, row))
                continue;
            const int realCol = grid.DisplToRealCol(col);
            const QString old = grid.Cells(realCol, row);
            grid.SetCellEx(realCol, row, texts[size_t(j) * cols + i]);
            ReportCellChange(grid, realCol, row, old);
        }
    }
    return true;
}

// The grid's drag and drop

TGridDragDrop::TGridDragDrop(TExtStringGrid& grid)
    : Grid(grid),
      CsvLoader(grid.Layers().CsvLoader),
      XlsLoader(grid.Layers().XlsLoader),
      DragRunner(grid.Layers().DragRunner)
{
    if (!DragRunner)
        DragRunner = [](QDrag& drag, Qt::DropActions allowed, Qt::DropAction preferred) {
            return drag.exec(allowed, preferred);
        };
}

TGridDragDrop::~TGridDragDrop()
{
    if (Settings.OleDropTarget && Grid.Client())
        Grid.Client()->removeEventFilter(this);
}

void TGridDragDrop::SetOleDropTarget(bool value)
{
    Settings.OleDropTarget = value;
    QWidget* client = Grid.Client();
    if (value) {
        AcceptText = Settings.OleAcceptText;
        AcceptFiles = Settings.OleAcceptFiles;
        AcceptURLs = Settings.OleAcceptURLs;
        client->setAcceptDrops(true);
        client->removeEventFilter(this);
        client->installEventFilter(this);
    } else {
        client->setAcceptDrops(false);
        client->removeEventFilter(this);
    }
}

void TGridDragDrop::SetOleDropRTF(bool value)
{
    RichTextFlag() = value;
    Settings.OleDropRTF = value;
}

bool TGridDragDrop::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != Grid.Client())
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        const QPoint pos = Grid.ClientToGrid(e->position().toPoint());
        const Qt::DropAction effect = event->type() == QEvent::DragEnter
                                          ? DragEnter(e->mimeData(), pos, e->modifiers(), e->possibleActions())
                                          : DragOver(e->mimeData(), pos, e->modifiers(), e->possibleActions());
        // Drag scrolling near the edges still runs.
        bool scroll = true;
        Grid.DragOver(e->source(), pos.x(), pos.y(),
                      event->type() == QEvent::DragEnter ? dsDragEnter : dsDragMove, scroll);
        AnswerDrop(*e, effect);
        return true;
    }
    case QEvent::DragLeave: {
        DragLeave();
        bool scroll = false;
        Grid.DragOver(nullptr, -1, -1, dsDragLeave, scroll);
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const QPoint pos = Grid.ClientToGrid(e->position().toPoint());
        QObject* source = e->source();
        const bool fromHere = FDragging || (source && (source == &Grid || source == Grid.Client()));
        const Qt::DropAction effect = Drop(e->mimeData(), pos, e->modifiers(), e->possibleActions(), fromHere);
        bool scroll = false;
        Grid.DragOver(nullptr, -1, -1, dsDragLeave, scroll);
        AnswerDrop(*e, effect);
        return true;
    }
    default: return false;
    }
}

bool TGridDragDrop::IsAccepted(const TEnumFormats& f) const
{
    return (f.HasText() && AcceptText) || (f.HasFile() && AcceptFiles) ||
           (f.HasRTF() && RichTextFlag() && AcceptText) || (f.HasCol() && AcceptCols) || (f.HasURL() && AcceptURLs) ||
           f.HasGridCells();
}

Qt::DropAction TGridDragDrop::Effect(Qt::KeyboardModifiers keys, Qt::DropActions possible)
{
    if (keys & Qt::ControlModifier)
        return Qt::CopyAction;
    return (possible & Qt::MoveAction) ? Qt::MoveAction : Qt::CopyAction;
}

Qt::DropAction TGridDragDrop::DragEnter(const QMimeData* data, QPoint pos, Qt::KeyboardModifiers keys,
                                        Qt::DropActions possible)
{
    const TEnumFormats f(data);
    FAccepted = IsAccepted(f);
    FFormats = f.Formats();
    FColumnDrag = f.HasCol();
    if (!FAccepted)
        return Qt::IgnoreAction;
    bool allow = true;
    DragMouseMove(pos, allow, FFormats);
    return allow ? Effect(keys, possible) : Qt::IgnoreAction;
}

Qt::DropAction TGridDragDrop::DragOver(const QMimeData*, QPoint pos, Qt::KeyboardModifiers keys,
                                       Qt::DropActions possible)
{
    Qt::DropAction effect = FAccepted ? Effect(keys, possible) : Qt::IgnoreAction;
    bool allow = effect != Qt::IgnoreAction;
    DragMouseMove(pos, allow, FFormats);
    return allow ? effect : Qt::IgnoreAction;
}

void TGridDragDrop::DragLeave()
{
    HideArrows();
    FAccepted = false;
    FFormats = 0;
}

Qt::DropAction TGridDragDrop::Drop(const QMimeData* data, QPoint pos, Qt::KeyboardModifiers keys,
                                   Qt::DropActions possible, bool fromThisGrid)
{
    const TEnumFormats f(data);
    FAccepted = IsAccepted(f);
    FFormats = f.Formats();
    if (!FAccepted) {
        HideArrows();
        return Qt::IgnoreAction;
    }
    if (f.HasCol()) {
        DropCol(pos, f.Col(), fromThisGrid);
    } else {
        if (const auto stream = f.Stream())
            DropStream(pos, *stream);
        else if (f.HasRTF() && RichTextFlag())
            DropRTF(pos, f.RTF());
        else if (f.HasText())
            DropText(pos, f.Text());
        if (f.HasFile())
            DropFiles(pos, f.Files());
        if (f.HasURL())
            DropURL(pos, f.URL());
    }
    FAccepted = false;
    FFormats = 0;
    return Effect(keys, possible);
}

// The grid's hooks

void TGridDragDrop::DropCell(QPoint pos, int& c, int& r, bool& append) const
{
    const TGridCoord cell = Grid.MouseToCell(pos.x(), pos.y());
    c = cell.X;
    r = cell.Y;
    append = false;
    if (r == -1 && !FColumnDrag && Settings.OleEntireRows && Settings.OleAppendRows && Grid.RowCount() > 0) {
        const TRect last = Grid.RangeRect({0, Grid.RowCount() - 1, 0, Grid.RowCount() - 1});
        if (pos.y() >= last.Bottom) {
            c = Grid.FixedCols();
            r = Grid.RowCount() - 1;
            append = true;
        }
    }
}

void TGridDragDrop::HideArrows()
{
    for (auto& arrow : Grid.ArrowWindows)
        if (arrow)
            arrow->hide();
}

void TGridDragDrop::ShowDragButton(int col, int realCol)
{
    const TRect cell = Grid.CellRect(col, 0);
    THeaderDragButton& button = *Grid.HeaderDragButton;
    button.SetCaption(Grid.Cells(realCol, 0));
    const QSize size(std::max(1, int(cell.Right - cell.Left)), std::max(1, int(cell.Bottom - cell.Top)));
    button.ShowAt(QRect(QCursor::pos(), size));
}

void TGridDragDrop::PlaceArrow(int direction, QPoint clientTopLeft)
{
    auto& arrow = Grid.ArrowWindows[size_t(direction)];
    if (!arrow)
        return;
    const QPoint screen = Grid.Client()->mapToGlobal(QPoint(Grid.MirrorX(clientTopLeft.x()), clientTopLeft.y()));
    arrow->ShowAt(screen);
}

void TGridDragDrop::DragMouseMove(QPoint pos, bool& allow, TDropFormats formats)
{
    int c = -1, r = -1;
    bool append = false;
    DropCell(pos, c, r, append);
    // A column dragged out of this grid: its moving button follows the mouse over it.
    if (FDragging && Grid.HeaderDragButton->isVisible())
        Grid.HeaderDragButton->move(Grid.Client()->mapToGlobal(QPoint(Grid.MirrorX(pos.x()), pos.y())));
    allow = c >= 0 && r >= 0;
    if (allow && !FColumnDrag) {
        if (r < Grid.FixedRows() && Grid.TopRow() > Grid.FixedRows())
            Grid.SetTopRow(Grid.TopRow() - 1);
        else if (r == Grid.TopRow() + Grid.VisibleRowCount() && Grid.TopRow() < Grid.MaxTopRow())
            Grid.SetTopRow(Grid.TopRow() + 1);
        if (c < Grid.FixedCols() && Grid.LeftCol() > Grid.FixedCols())
            Grid.SetLeftCol(Grid.LeftCol() - 1);
        else if (c == Grid.LeftCol() + Grid.VisibleColCount() && Grid.LeftCol() < Grid.MaxLeftCol())
            Grid.SetLeftCol(Grid.LeftCol() + 1);
    }
    if (!FColumnDrag) {
        if (r >= 0 && r < Grid.FixedRows() && !(Grid.RowCount() == 1 && Grid.FixedRowAlways))
            allow = false;
    } else {
        const TRect lastCol = Grid.RangeRect({Grid.ColCount() - 1, 0, Grid.ColCount() - 1, 0});
        if (c < 0 && pos.x() >= lastCol.Right && pos.y() < lastCol.Bottom) {
            c = Grid.ColCount();
            r = 0;
            allow = true;
        } else {
            allow = allow && r == 0 && Grid.FixedRows() > 0 && c >= Grid.FixedCols();
        }
    }
    allow = allow || (formats & (dfFile | dfGridCells));
    if (OnOleDragOver)
        OnOleDragOver(&Grid, r, c, allow);
    allow = allow && ((c >= 0 && r >= 0) || (formats & dfFile));

    HideArrows();
    if (!allow || c < 0 || r < 0)
        return;
    if (FColumnDrag) {
        const int at = std::min(c, Grid.ColCount() - 1);
        const TRect cr = Grid.CellRect(at, 0);
        const int x = c == Grid.ColCount() ? cr.Right : cr.Left;
        PlaceArrow(arwDown, {x, cr.Top - 8});
        PlaceArrow(arwUp, {x, cr.Bottom});
        return;
    }
    int row = r;
    if (row == 0 && Grid.FixedRowAlways && Grid.RowCount() > 1)
        row = 1;
    const int col = Settings.OleEntireRows ? 0 : c;
    const TRect cr = Grid.RangeRect({col, row, col, row});
    const int top = append ? cr.Bottom : cr.Top;
    PlaceArrow(arwLeft, {cr.Left - 10, top});
}

void TGridDragDrop::DropText(QPoint pos, const QString& text)
{
    int c = -1, r = -1;
    bool append = false;
    DropCell(pos, c, r, append);
    const std::vector<QStringList> block = ParseTextBlock(text);
    int cols = 0;
    for (const QStringList& line : block)
        cols = std::max(cols, int(line.size()));
    const int lines = int(block.size());
    if (Grid.Options & goRowSelect)
        c = Settings.OleEntireRows ? 0 : Grid.FixedCols();
    bool allow = true;
    if (OnOleDrop)
        OnOleDrop(&Grid, r, c, text, allow);
    TGridRect filled = Grid.Selection();
    if (allow && c >= 0 && r >= 0 && lines > 0) {
        if (FDragging && Settings.OleRemoveRows && std::min(FDropSelection.Top, FDropSelection.Bottom) >= r) {
            FDropSelection.Top += lines;
            FDropSelection.Bottom += lines;
        }
        if (r == 0 && Grid.RowCount() == 1 && Grid.FixedRowAlways)
            r = 1;
        if (Settings.OleInsertRows) {
            if (append) {
                Grid.SetRowCount(Grid.RowCount() + lines);
                ++r;
            } else {
                Grid.InsertRows(r, lines);
            }
            if (Grid.TopRow() > Grid.FixedRows())
                Grid.SetTopRow(Grid.TopRow() + 1);
        } else if (append) {
            ++r;
        }
        c = std::max(c, Grid.FixedCols());
        {
            TUndoGroup group(Grid);
            for (int j = 0; j < lines; ++j) {
                const int row = r + j;
                if (row < Grid.FixedRows() || row >= Grid.RowCount())
                    continue;
                const QStringList& fields = block[size_t(j)];
                for (int i = 0; i < int(fields.size()); ++i) {
                    const int col = c + i;
                    if (col >= Grid.ColCount() || Grid.IsFixed(col, row))
                        continue;
                    const int realCol = Grid.DisplToRealCol(col);
                    const QString old = Grid.Cells(realCol, row);
                    Grid.SetCellEx(realCol, row, fields[i]);
                    ReportCellChange(Grid, realCol, row, old);
                }
            }
        }
        const int right = (Grid.Options & goRowSelect) ? c + cols - Grid.FixedCols() : c + cols - 1;
        filled = {c, r, std::min(right, Grid.ColCount() - 1), std::min(r + lines - 1, Grid.RowCount() - 1)};
        if (filled.Bottom >= filled.Top && filled.Right >= filled.Left)
            Grid.SetSelection(filled);
    }
    HideArrows();
    Grid.HeaderDragButton->hide();
    if (OnOleDropped)
        OnOleDropped(&Grid, filled);
}

void TGridDragDrop::DropStream(QPoint pos, std::span<const uint8_t> stream)
{
    int c = -1, r = -1;
    bool append = false;
    DropCell(pos, c, r, append);
    if (c >= 0 && r >= 0)
        LoadAtPointFromBinStream(Grid, c, r, stream);
    HideArrows();
    Grid.HeaderDragButton->hide();
    if (OnOleDropped)
        OnOleDropped(&Grid, Grid.Selection());
}

void TGridDragDrop::DropRTF(QPoint pos, const QString& text) { DropIntoCell(pos, text, OnOleDrop); }

void TGridDragDrop::DropURL(QPoint pos, const QString& text) { DropIntoCell(pos, text, OnOleDropURL); }

void TGridDragDrop::DropIntoCell(QPoint pos, const QString& text, const Event<int, int, const QString&, bool&>& ask)
{
    int c = -1, r = -1;
    bool append = false;
    DropCell(pos, c, r, append);
    bool allow = true;
    if (ask)
        ask(&Grid, r, c, text, allow);
    if (allow && c >= 0 && r >= 0) {
        const int realCol = Grid.DisplToRealCol(c);
        const QString old = Grid.Cells(realCol, r);
        Grid.SetCellEx(realCol, r, text);
        ReportCellChange(Grid, realCol, r, old);
    }
    HideArrows();
}

void TGridDragDrop::DropFiles(QPoint pos, const QStringList& names)
{
    HideArrows();
    if (names.size() != 1)
        return;
    int c = -1, r = -1;
    bool append = false;
    DropCell(pos, c, r, append);
    const QString& name = names.front();
    bool allow = true;
    if (OnOleDropFile)
        OnOleDropFile(&Grid, r, c, name, allow);
    if (!allow)
        return;
    // Known by the file's suffix alone, never by a ".csv" elsewhere in its path.
    const QString suffix = QFileInfo(name).suffix().toUpper();
    const bool csv = suffix == QLatin1String("CSV");
    const bool xls = suffix == QLatin1String("XLS");
    if (!csv && !xls)
        return;
    if (OnOleDrop)
        OnOleDrop(&Grid, -1, -1, name, allow);
    if (!allow)
        return;
    const TFileLoader& loader = csv ? CsvLoader : XlsLoader;
    if (!loader) {
        platform::MessageDlg(QStringLiteral("The file \"%1\" cannot be loaded: this program does not read %2 files.")
                                 .arg(QFileInfo(name).fileName(), csv ? QStringLiteral("CSV") : QStringLiteral("XLS")),
                             platform::TMsgDlgType::mtError, platform::TMsgDlgButtons::mbOK);
        return;
    }
    loader(Grid, name);
}

void TGridDragDrop::DropCol(QPoint pos, int col, bool fromThisGrid)
{
    const TGridCoord cell = Grid.MouseToCell(pos.x(), pos.y());
    int dropCol = cell.X >= 0 ? cell.X : Grid.ColCount();
    HideArrows();
    Grid.HeaderDragButton->hide();
    if (fromThisGrid && Settings.OleColumnReorder && col >= Grid.FixedCols() && col < Grid.ColCount()) {
        dropCol = std::min(dropCol, Grid.ColCount() - 1);
        if (dropCol != col && dropCol >= Grid.FixedCols()) {
            const bool enh = std::exchange(Grid.EnhRowColMove, true);
            Grid.MoveColumn(col, dropCol);
            Grid.EnhRowColMove = enh;
        }
    }
    if (OnOleDropCol)
        OnOleDropCol(&Grid, cell.Y, dropCol, col);
}

// Outgoing drags

namespace {

// With ShowCells the picture of the dragged cells' visible part follows the mouse.
void ShowDraggedCells(QDrag& drag, TExtStringGrid& grid, const TGridRect& cells, bool show)
{
    if (!show)
        return;
    const TRect r = grid.MirrorRect(grid.RangeRect(cells));
    const QRect visible = QRect(QPoint(r.Left, r.Top), QPoint(r.Right - 1, r.Bottom - 1)) & grid.Client()->rect();
    if (visible.isEmpty())
        return;
    drag.setPixmap(grid.Client()->grab(visible));
    drag.setHotSpot(QPoint(-4, -4));
}

}  // namespace

Qt::DropAction TGridDragDrop::RunTextDragDrop(const QString& text, const QString& rtf,
                                              const std::vector<uint8_t>* cells)
{
    QDrag drag(&Grid);
    drag.setMimeData(MakeSourceData(text, rtf, -1, cells).release());
    ShowDraggedCells(drag, Grid, FDropSelection, Settings.ShowCells);
    return DragRunner(drag, Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

Qt::DropAction TGridDragDrop::RunColumnDragDrop(int col)
{
    auto data = std::make_unique<QMimeData>();
    data->setData(QString::fromLatin1(MimeGridColumn), Int32Bytes(col));
    QDrag drag(&Grid);
    drag.setMimeData(data.release());
    ShowDraggedCells(drag, Grid, {col, 0, col, Grid.RowCount() - 1}, Settings.ShowCells);
    return DragRunner(drag, Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

bool TGridDragDrop::StartDrag(int pressCol, int pressRow)
{
    if (!Settings.OleDropSource || FDragging)
        return false;
    const bool header = pressRow < Grid.FixedRows();
    if (Settings.OleColumnsOnly && !header)
        return false;
    const int realCol = pressCol >= 0 ? Grid.DisplToRealCol(pressCol) : -1;
    bool allow = true;
    if (OnOleDrag)
        OnOleDrag(&Grid, pressRow, realCol, pressCol >= 0 && pressRow >= 0 ? Grid.Cells(realCol, pressRow) : QString(),
                  allow);
    if (!allow)
        return false;
    struct TFlag {
        bool& F;
        ~TFlag() { F = false; }
    } dragging{FDragging = true};
    if (OnOleDragStart)
        OnOleDragStart(&Grid, pressRow, pressCol);
    Qt::DropAction effect = Qt::IgnoreAction;
    if (header && Settings.OleColumnDragDrop) {
        if (!Settings.ShowCells) {
            ShowDragButton(pressCol, realCol);
        }
        effect = RunColumnDragDrop(pressCol);
        Grid.HeaderDragButton->hide();
    } else {
        FDropSelection = Grid.Selection();
        const QString text = CellsAsText(Grid, FDropSelection);
        const QString rtf = pressCol >= 0 && pressRow >= 0 ? Grid.Cells(realCol, pressRow) : QString();
        std::vector<uint8_t> cells;
        if (Grid.Navigation.AllowFmtClipboard)
            cells = SaveRectToBinStream(Grid, FDropSelection);
        effect = RunTextDragDrop(text, rtf, Grid.Navigation.AllowFmtClipboard ? &cells : nullptr);
        if (effect == Qt::MoveAction && !Settings.OleCopyAlways)
            AfterMove(FDropSelection);
    }
    HideArrows();
    if (OnOleDragStop)
        OnOleDragStop(&Grid, effect);
    return true;
}

// What a move leaves behind: the dragged rows removed, or the dragged cells emptied.
void TGridDragDrop::AfterMove(const TGridRect& dragged)
{
    const int top = std::max(Grid.FixedRows(), std::min(dragged.Top, dragged.Bottom));
    const int bottom = std::min(Grid.RowCount() - 1, std::max(dragged.Top, dragged.Bottom));
    if (top > bottom)
        return;
    if (Settings.OleRemoveRows && (Grid.Options & goRowSelect)) {
        Grid.RemoveRows(top, bottom - top + 1);
        return;
    }
    const int left = std::max(Grid.FixedCols(), std::min(dragged.Left, dragged.Right));
    const int right = std::min(Grid.ColCount() - 1, std::max(dragged.Left, dragged.Right));
    TUndoGroup group(Grid);
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            if (Grid.IsFixed(c, r))
                continue;
            const int realCol = Grid.DisplToRealCol(c);
            const QString old = Grid.Cells(realCol, r);
            Grid.SetCellEx(realCol, r, QString());
            ReportCellChange(Grid, realCol, r, old);
        }
    }
}

}  // namespace grid::editing
