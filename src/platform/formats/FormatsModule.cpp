// The entry of the file-format module that platform::FileFormats() loads.
#include "platform/formats/Database.h"
#include "platform/formats/Jpeg.h"
#include "platform/formats/WordDocument.h"
#include "platform/formats/Workbook.h"

namespace platform {
namespace {

class TReaderWorkbook final : public TWorkbook {
public:
    explicit TReaderWorkbook(const QString& path) : Reader(path) {}
    QStringList SheetNames() const override { return Reader.SheetNames(); }
    int ActiveSheet() const override { return Reader.ActiveSheet(); }
    TSheetData ReadSheet(int index, const TSheetLimits& limits) const override { return Reader.ReadSheet(index, limits); }

private:
    TWorkbookReader Reader;
};

class TModuleFormats final : public TFileFormats {
public:
    std::unique_ptr<TWorkbook> OpenWorkbook(const QString& path) const override
    {
        return std::make_unique<TReaderWorkbook>(path);
    }
    void WriteWorkbookSheet(const QString& path, const TSheetTarget& target, const TSheetBlock& block) const override
    {
        platform::WriteWorkbookSheet(path, target, block);
    }
    TQueryResult RunDatabaseQuery(const QString& path, const QString& sql, const TQueryLimits& limits) const override
    {
        return platform::RunDatabaseQuery(path, sql, limits);
    }
    void WriteDocxTable(const QString& path, const TDocTable& table) const override
    {
        platform::WriteDocxTable(path, table);
    }
    void AppendDocxTable(const QString& path, const QString& bookmark, const TDocTable& table) const override
    {
        platform::AppendDocxTable(path, bookmark, table);
    }
    bool EncodeJpeg(const QImage& image, QByteArray& out) const override { return platform::EncodeJpeg(image, out); }
};

}  // namespace
}  // namespace platform

extern "C" __attribute__((visibility("default"))) const platform::TFileFormats* ConfFileFormats(int version)
{
    static const platform::TModuleFormats formats;
    return version == platform::FileFormatsVersion ? &formats : nullptr;
}
