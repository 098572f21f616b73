#pragma once
#include <memory>

#include "platform/FileFormats.h"

namespace platform {

// Workbooks (see platform/FileFormats.h). Every failure throws Exception with a message naming
// the file.

// Texts of values: numbers with up to 15 significant digits ("12.5", "1e+20"), booleans as
// "TRUE" / "FALSE", dates and times as "yyyy-MM-dd", "yyyy-MM-dd hh:mm:ss" or "hh:mm:ss".
QString SheetNumberText(double value);
// A text that is the number text of a finite number, so that writing it as a number and reading
// it back gives the same text.
bool IsSheetNumber(const QString& text, double& value);

class TWorkbookReader {
public:
    // Opens a ".xlsx" package or a ".xls" file, told apart by their contents.
    explicit TWorkbookReader(const QString& path);
    ~TWorkbookReader();
    // The worksheets' names in workbook order.
    QStringList SheetNames() const;
    // The sheet the workbook was saved with in front.
    int ActiveSheet() const;
    TSheetData ReadSheet(int index, const TSheetLimits& limits = {}) const;

    struct TImpl;

private:
    std::unique_ptr<TImpl> Impl;
};

// Writes the block from column A. A new workbook holds the one sheet ("Sheet1" without a name);
// a block written into an existing workbook replaces the cells under it and keeps every other
// cell, sheet and part. A ".xls" target is refused with a message naming ".xlsx"; a file that
// exists but is no workbook is left alone with a message.
void WriteWorkbookSheet(const QString& path, const TSheetTarget& target, const TSheetBlock& block);

}  // namespace platform
