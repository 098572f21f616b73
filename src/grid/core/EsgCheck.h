#pragma once
#include <QObject>
#include <QString>

namespace grid {

// A cell checker that a grid names as its CellChecker: it corrects or marks cell texts when the
// grid checks cells, and with AutoCorrect / AutoMarkError also as an edited value is accepted. This
// base leaves texts as they are. The grid only refers to it: a checker that goes leaves the grid
// without one.
class TExtStringGridCheck : public QObject {
public:
    using QObject::QObject;
    bool AutoCorrect = false, AutoMarkError = false, GotoCell = false, UseCorrect = false, UseMarkError = false;
    virtual QString MarkError(int /*col*/, int /*row*/, const QString& text) { return text; }
    virtual QString Correct(int /*col*/, int /*row*/, const QString& text) { return text; }
    virtual void StartCheck() {}
    virtual void StopCheck() {}
};

}  // namespace grid
