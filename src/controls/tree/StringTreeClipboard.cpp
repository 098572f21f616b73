#include "controls/tree/StringTree.h"

namespace tree {

HResult TCustomNodeStringTree::RenderOLEData(const TFormatEtc& formatEtcIn, TStgMedium& medium, bool forClipboard)
{
    const HResult base = TBaseNodeTree::RenderOLEData(formatEtcIn, medium, forClipboard);
    if (base == S_OK)
        return base;
    QByteArray bytes;
    try {
        bytes = ContentToClipboard(formatEtcIn.cfFormat, forClipboard ? tstCutCopySet : tstSelected);
    } catch (...) {
        medium = TStgMedium();
        return E_FAIL;
    }
    if (bytes.isEmpty())
        return base;
    medium = TStgMedium();
    medium.tymed = TYMED_HGLOBAL;
    medium.data = bytes;
    return S_OK;
}

}  // namespace tree
