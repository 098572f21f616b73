#pragma once
#include "controls/tree/NodeTrees.h"
#include "controls/tree/TreeExport.h"

#include <QString>
#include <functional>
#include <memory>
#include <set>

// The tree that shows one text per node and column. It keeps no text: every text is asked from
// the caller each time it is needed, with a default text for callers that answer nothing.
namespace tree {

enum TVSTTextType { ttNormal, ttStatic };
enum TTVExportType { etNone, etRTF, etHTML, etText, etExcel, etWord, etCustom };

struct TVSTGetCellTextEventArgs {
    PTreeNode Node = nullptr;
    TColumnIndex Column = NoColumn;
    QString CellText;
    QString StaticText;
    TTVExportType ExportType = etNone;
};

class TCustomNodeStringTree : public TBaseNodeTree {
    Q_OBJECT
public:
    explicit TCustomNodeStringTree(QWidget* parent = nullptr);
    ~TCustomNodeStringTree() override;

    std::function<void(TBaseNodeTree*, PTreeNode, TColumnIndex, TVSTTextType, QString& cellText)> OnGetText;
    std::function<void(TBaseNodeTree*, TVSTGetCellTextEventArgs&)> OnGetCellText;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex, TVSTTextType)> OnPaintText;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex, const QString& text, int textSpace,
                       QString& result, bool& done)> OnShortenString;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex, const QString& text, int& extent)>
        OnMeasureTextWidth;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex, const QString& text, int& extent)>
        OnMeasureTextHeight;
    std::function<void(TBaseNodeTree*, platform::TCanvas&, PTreeNode, TColumnIndex, const QString& text,
                       const QRect& cellRect, bool& defaultDraw)> OnDrawText;
    std::function<void(TBaseNodeTree*, PTreeNode, TColumnIndex, const QString& newText)> OnNewText;
    std::function<void(TBaseNodeTree*, PTreeNode, TColumnIndex, TTVTooltipLineBreakStyle&, QString& hintText)> OnGetHint;

    QString Text(PTreeNode node, TColumnIndex column) { return GetText(node, column); }
    void SetText(PTreeNode node, TColumnIndex column, const QString& value);
    QString StaticText(PTreeNode node, TColumnIndex column) { return GetStaticText(node, column); }
    // The text of one of the node's images in the column, as OnGetImageText gives it (empty
    // otherwise); the node is initialised first.
    QString ImageText(PTreeNode node, TTVImageKind kind, TColumnIndex column) { return GetImageText(node, kind, column); }
    const QString& DefaultText() const { return FDefaultText; }
    void SetDefaultText(const QString& value);
    // Height of the node's text laid out in the column.
    virtual int ComputeNodeHeight(platform::TCanvas& canvas, PTreeNode node, TColumnIndex column, QString text = QString());
    // Texts from the top-level ancestor down to the node, each followed by the delimiter.
    QString Path(PTreeNode node, TColumnIndex column, QChar delimiter);
    // One quoted line per top-level node (with the column captions first when asked); false for
    // an empty name.
    bool SaveToCSVFile(const QString& fileName, bool includeHeading);
    // The longest prefix of the text that fits the width together with "...".
    static QString ShortenString(platform::TCanvas& canvas, const QString& text, int width, int ellipsisWidth);

    int DoGetNodeWidth(PTreeNode node, TColumnIndex column, platform::TCanvas* canvas = nullptr) override;
    int DoGetNodeExtraWidth(PTreeNode node, TColumnIndex column, platform::TCanvas* canvas = nullptr) override;
    QRect InvalidateNode(PTreeNode node) override;
    void ReinitNode(PTreeNode node, bool recursive) override;
    void SetChildCount(PTreeNode node, uint32_t newChildCount) override;
    // The node's text in the column, the font it is drawn in and the rectangle of its line.
    void GetTextInfo(PTreeNode node, TColumnIndex column, platform::TFont& font, QRect& r, QString& text) override;
    // With toRestoreSelection a new node whose text was selected before becomes selected again.
    PTreeNode AddChild(PTreeNode parent, void* userData = nullptr);
    void AddToSelection(PTreeNode node) override;
    using TBaseNodeTree::AddToSelection;
    void RemoveFromSelection(PTreeNode node) override;

    // ---- content export ----
    std::function<void(TBaseNodeTree*, TTVExportType)> OnBeforeTreeExport, OnAfterTreeExport, OnBeforeHeaderExport,
        OnAfterHeaderExport;
    std::function<void(TBaseNodeTree*, TTVExportType, TColumnIndex)> OnBeforeColumnExport, OnColumnExport,
        OnAfterColumnExport;
    // Answers whether the node is exported.
    std::function<bool(TBaseNodeTree*, TTVExportType, PTreeNode)> OnBeforeNodeExport;
    std::function<void(TBaseNodeTree*, TTVExportType, PTreeNode)> OnNodeExport, OnAfterNodeExport;

    QString ContentToHTML(TVSTTextSourceType source, const QString& caption = QString());
    QByteArray ContentToRTF(TVSTTextSourceType source);
    QString ContentToText(TVSTTextSourceType source, const QString& separator);
    QString ContentToText(TVSTTextSourceType source, QChar separator) { return ContentToText(source, QString(separator)); }
    QString ContentToUnicode(TVSTTextSourceType source, QChar separator) { return ContentToText(source, QString(separator)); }
    void ContentToCustom(TVSTTextSourceType source);
    // The bytes of the format's clipboard block (terminator included); empty for formats not produced.
    QByteArray ContentToClipboard(TClipFormat format, TVSTTextSourceType source);
    // Text formats the base tree does not render come from the content export.
    HResult RenderOLEData(const TFormatEtc& formatEtcIn, TStgMedium& medium, bool forClipboard) override;

protected:
    QString GetText(PTreeNode node, TColumnIndex column);
    QString GetStaticText(PTreeNode node, TColumnIndex column);
    QString GetImageText(PTreeNode node, TTVImageKind kind, TColumnIndex column);
    virtual void DoGetText(TVSTGetCellTextEventArgs& args);
    virtual void DoNewText(PTreeNode node, TColumnIndex column, const QString& text);
    QString DoGetNodeHint(PTreeNode node, TColumnIndex column, TTVTooltipLineBreakStyle& lineBreakStyle) override;
    QString DoGetNodeTooltip(PTreeNode node, TColumnIndex column, TTVTooltipLineBreakStyle& lineBreakStyle) override;
    int DoIncrementalSearch(PTreeNode node, const QString& text) override;
    virtual void DoPaintText(PTreeNode node, platform::TCanvas& canvas, TColumnIndex column, TVSTTextType textType);
    virtual QString DoShortenString(platform::TCanvas& canvas, PTreeNode node, TColumnIndex column, const QString& text,
                                    int width, int ellipsisWidth = 0);
    virtual void DoDrawText(platform::TCanvas& canvas, PTreeNode node, TColumnIndex column, const QString& text,
                            QRect cellRect, unsigned drawFormat);
    virtual QSize DoMeasureText(platform::TCanvas& canvas, PTreeNode node, TColumnIndex column, const QString& text);
    virtual int DoGetNormalTextWidth(platform::TCanvas& canvas, PTreeNode node, TColumnIndex column, const QString& text);
    virtual int DoGetStaticTextWidth(platform::TCanvas& canvas, PTreeNode node, TColumnIndex column, const QString& text);
    virtual void PaintNormalText(TTVPaintInfo& paintInfo, const QString& text);
    virtual void PaintStaticText(TTVPaintInfo& paintInfo, const QString& text);
    void DoPaintNode(TTVPaintInfo& paintInfo) override;
    void AdjustPaintCellRect(TTVPaintInfo& paintInfo, TColumnIndex& nextNonEmpty) override;
    bool ColumnIsEmpty(PTreeNode node, TColumnIndex column) override;
    void WriteChunks(std::vector<uint8_t>& stream, PTreeNode node) override;
    // A string edit link when the application supplies no editor.
    std::shared_ptr<ITVEditLink> DoCreateEditor(PTreeNode node, TColumnIndex column) override;
    bool ReadChunk(platform::ByteReader& stream, int version, PTreeNode node, int chunkType, int depth) override;
    void changeEvent(QEvent* event) override;
    uint32_t StringOptions() const;

private:
    friend class TStringEditLink;
    friend class TTVEdit;
    // Export helpers.
    PTreeNode ExportFirst(TVSTTextSourceType source);
    PTreeNode ExportNext(TVSTTextSourceType source, PTreeNode node);
    bool PassesExportMode(PTreeNode node);
    QString ExportCellText(PTreeNode node, TColumnIndex column, TTVExportType type, bool withStatic);
    // Gives the canvas the tree's font and lets the application change it; true when it did.
    bool PrepareExportFont(platform::TCanvas& canvas, PTreeNode node, TColumnIndex column, TVSTTextType type);
    std::vector<TColumnIndex> ExportColumns() const;

    int32_t& CachedWidth(PTreeNode node) const
    {
        return *reinterpret_cast<int32_t*>(InternalData(node, FInternalDataOffset));
    }
    void FontMetricsChanged();
    // The first visible column after this one that auto-spanning does not take in, with the
    // width of the empty left-to-right columns taken in.
    TColumnIndex SpanColumns(PTreeNode node, TColumnIndex column, int& extraWidth);
    // That width, when auto-spanning applies at all.
    int AutoSpanWidth(PTreeNode node, TColumnIndex column);

    bool RestoresSelection() const;
    // Texts of the selected nodes, case-insensitive, each once.
    std::unique_ptr<std::set<QString, bool (*)(const QString&, const QString&)>> FPreviouslySelected;

    uint32_t FInternalDataOffset = 0;
    QString FDefaultText = QStringLiteral("Node");
    int FTextHeight = 0;
    int FEllipsisWidth = 0;
};

// The string tree with the string options object.
class TNodeStringTree : public TCustomNodeStringTree {
    Q_OBJECT
public:
    explicit TNodeStringTree(QWidget* parent = nullptr);
    TStringTreeOptions& TreeOptions() { return static_cast<TStringTreeOptions&>(*FOptions); }
};

}  // namespace tree
