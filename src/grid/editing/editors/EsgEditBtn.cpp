#include "grid/editing/editors/EsgEditBtn.h"
#include "platform/OwnedObject.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionButton>

namespace grid::editors {

namespace {
QColor FromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
}  // namespace

TExtSpeedButton::TExtSpeedButton(TEsgEditButton* owner) : QAbstractButton(owner), FOwner(owner)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
}

void TExtSpeedButton::enterEvent(QEnterEvent* event)
{
    FHot = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TExtSpeedButton::leaveEvent(QEvent* event)
{
    FHot = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TExtSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setFont(font());
    QRect r = rect();
    const bool pressed = isDown() || isChecked();
    if (FOwner->ButtonColor != TEsgEditButton::ColorNone) {
        Flat = true;
        uint32_t face = FOwner->ButtonColor;
        if (pressed && FOwner->ButtonColorDown != TEsgEditButton::ColorNone)
            face = FOwner->ButtonColorDown;
        else if (FHot && FOwner->ButtonColorHot != TEsgEditButton::ColorNone)
            face = FOwner->ButtonColorHot;
        p.fillRect(r, FromColorRef(face));
        if (FOwner->ButtonBorderColor != TEsgEditButton::ColorNone) {
            p.setPen(FromColorRef(FOwner->ButtonBorderColor));
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
    } else if (IsWinXP || !Flat) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = r;
        option.state |= pressed ? QStyle::State_Sunken : QStyle::State_Raised;
        if (FHot)
            option.state |= QStyle::State_MouseOver;
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
    } else {
        // A raised or sunken edge round the face.
        p.fillRect(r, palette().button());
        p.setPen(pressed ? palette().dark().color() : palette().light().color());
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(pressed ? palette().light().color() : palette().dark().color());
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        r.adjust(1, 1, -1, -1);
    }
    const int shift = pressed ? 1 : 0;
    if (!Glyph.isNull()) {
        const int x = std::max(0, (r.width() - Glyph.width()) / 2);
        const int y = std::max(0, (r.height() - Glyph.height()) / 2);
        p.drawPixmap(r.left() + x + shift, r.top() + y + shift, Glyph);
    }
    p.setPen(Qt::black);
    p.drawText(r.translated(shift, shift), Qt::AlignCenter | Qt::TextSingleLine, text());
}

TEsgEditButton::TEsgEditButton(QWidget* parent) : QWidget(parent), FButton(new TExtSpeedButton(this))
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(20, 25);
    FButton->setGeometry(rect());
    QObject::connect(FButton, &QAbstractButton::clicked, this, [this] { Press(); });
}

void TEsgEditButton::SetFlat(bool flat)
{
    FButton->Flat = flat;
    FButton->update();
}

void TEsgEditButton::resizeEvent(QResizeEvent* event)
{
    FButton->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void TEsgEditButton::Press()
{
    if (OnClick)
        OnClick();
    if (FocusControl && FocusControl->isEnabled() && FocusControl->isVisible() && !FocusControl->hasFocus())
        FocusControl->setFocus(Qt::MouseFocusReason);
}

TEsgEditBtn::TEsgEditBtn(QWidget* parent) : QLineEdit(parent), FButton(new TEsgEditButton(this))
{
    FButton->resize(18, 18);
    FButton->FocusControl = this;
    FButton->OnClick = [this] { ButtonClick(); };
    setText(QStringLiteral("0"));
    LayoutButton();
}

void TEsgEditBtn::ButtonClick()
{
    if (OnClickBtn)
        OnClickBtn();
}

void TEsgEditBtn::SetButtonWidth(int width)
{
    FButton->resize(width, FButton->height());
    LayoutButton();
}

void TEsgEditBtn::SetIsWinXP(bool value)
{
    FButton->SpeedButton()->IsWinXP = value;
    FButton->update();
}

void TEsgEditBtn::SetRightAlign(bool value)
{
    if (FRightAlign == value)
        return;
    FRightAlign = value;
    setAlignment((value ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
}

int TEsgEditBtn::MinimumHeight() const
{
    const int system = QFontMetrics(QApplication::font()).height();
    const int own = QFontMetrics(font()).height();
    return own + std::min(system, own) / 4;
}

void TEsgEditBtn::LayoutButton()
{
    // In the client area inside the frame the button ends one pixel before the right edge and
    // one above the bottom, as the spin edit's arrows do.
    const int f = hasFrame() ? 2 : 0;
    const int clientWidth = width() - 2 * f, clientHeight = height() - 2 * f;
    const int bw = FButton->width();
    FButton->setGeometry(f + clientWidth - bw - 1, f, bw, std::max(1, clientHeight - 1));
    int margin = bw + FUnitSize + 5;
    if (FUnitSize > 0)
        margin += 3;
    setTextMargins(hasFrame() ? 0 : 2, 0, margin, 0);
}

void TEsgEditBtn::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    if (height() < MinimumHeight()) {
        resize(width(), MinimumHeight());
        return;
    }
    LayoutButton();
}

void TEsgEditBtn::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool alt = event->modifiers() & Qt::AltModifier;
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) {
        if (EditorEnabled && !isReadOnly()) {
            if (event->matches(QKeySequence::Paste))
                Paste();
            else
                cut();
        }
        return;
    }
    const QString typed = event->text();
    if (!EditorEnabled && typed.size() == 1 && typed.at(0).isPrint() && !ctrl)
        return;
    QLineEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_F4 && !ctrl && !alt)
        ButtonClick();
}

void TEsgEditBtn::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (AutoSelect && event->reason() != Qt::MouseFocusReason)
        selectAll();
}

// The standard menu would paste and cut around EditorEnabled.
void TEsgEditBtn::contextMenuEvent(QContextMenuEvent* event)
{
    if (EditorEnabled && !isReadOnly())
        QLineEdit::contextMenuEvent(event);
}

TEsgUnitEditBtn::TEsgUnitEditBtn(QWidget* parent) : TEsgEditBtn(parent)
{
    FUnitSize = 20;
    SetRightAlign(true);
    LayoutButton();
}

void TEsgUnitEditBtn::SetUnitID(const QString& unit)
{
    FUnitID = unit;
    update();
}

void TEsgUnitEditBtn::SetUnitSpace(int value)
{
    FUnitSize = value;
    LayoutButton();
    update();
}

bool SplitUnit(const QString& value, const QStringList& units, QString& text, QString& unit)
{
    for (const QString& u : units) {
        if (u.isEmpty() || value.size() < u.size())
            continue;
        if (value.indexOf(u) == value.size() - u.size()) {
            text = value.left(value.size() - u.size());
            unit = u;
            return true;
        }
    }
    return false;
}

void TEsgUnitEditBtn::SetTextAndUnit(const QString& value)
{
    QString text, unit;
    if (!SplitUnit(value, Units, text, unit))
        text = value;
    setText(text);
    SetUnitID(unit);
}

void TEsgUnitEditBtn::PickUnit(int index)
{
    if (index < 0 || index >= Units.size())
        return;
    const QString old = FUnitID;
    SetUnitID(Units[index]);
    if (FUnitID != old && OnUnitChanged)
        OnUnitChanged(FUnitID);
}

void TEsgUnitEditBtn::ButtonClick()
{
    TEsgEditBtn::ButtonClick();
    if (Units.isEmpty() || !isVisible())
        return;
    platform::Destroy_Now(FMenu);
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (int i = 0; i < Units.size(); ++i) {
        QAction* action = menu->addAction(Units[i]);
        QObject::connect(action, &QAction::triggered, this, [this, i] { PickUnit(i); });
    }
    FMenu = menu;
    menu->popup(mapToGlobal(QPoint(width() - 15, height())));
}

QMenu* TEsgUnitEditBtn::UnitMenu() const { return FMenu && FMenu->isVisible() ? FMenu.data() : nullptr; }

void TEsgUnitEditBtn::paintEvent(QPaintEvent* event)
{
    TEsgEditBtn::paintEvent(event);
    if (FUnitID.isEmpty())
        return;
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(QPalette::Text));
    const int right = Button()->geometry().left() - 3;
    const QRect area(right - FUnitSize, 2, FUnitSize, height() - 2);
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, FUnitID);
}

TCharVerdict NumericCharVerdict(QChar ch, const QString& text, int selStart)
{
    if (ch.isDigit())
        return TCharVerdict::Pass;
    if (ch == QLatin1Char('-'))
        return !text.contains(QLatin1Char('-')) && selStart == 0 ? TCharVerdict::Pass : TCharVerdict::Beep;
    return TCharVerdict::Beep;
}

TCharVerdict FloatCharVerdict(QChar ch, const QString& text, int selStart, int selLength, QChar decimal,
                              QChar thousand)
{
    const bool candidate =
        ch.isDigit() || ch == QLatin1Char(',') || ch == QLatin1Char('-') || ch == QLatin1Char('.');
    if (!candidate)
        return TCharVerdict::Drop;
    const QString outside = text.left(selStart) + text.mid(selStart + selLength);
    if (ch == decimal)
        return outside.contains(decimal) ? TCharVerdict::Drop : TCharVerdict::Pass;
    if (ch == thousand)
        return TCharVerdict::Drop;
    if (ch == QLatin1Char('-')) {
        const bool selectionHoldsMinus = text.mid(selStart, selLength).contains(QLatin1Char('-'));
        if ((selStart != 0 || text.contains(QLatin1Char('-'))) && !selectionHoldsMinus)
            return TCharVerdict::Beep;
    }
    return TCharVerdict::Pass;
}

QString InputMaskFromEditMask(const QString& editMask)
{
    // Mask characters: required and optional letters, letters or digits, any characters, digits.
    static const struct {
        char From, To;
    } meta[] = {{'L', 'A'}, {'l', 'a'}, {'A', 'N'}, {'a', 'n'}, {'C', 'X'},
                {'c', 'x'}, {'0', '9'}, {'9', '0'}, {'#', '#'}};
    static const QString qtMeta = QStringLiteral("AaNnXx90DdHhBb#><![]{}\\;");
    QString mask, fields;
    int i = 0;
    for (; i < editMask.size(); ++i) {
        const QChar c = editMask[i];
        if (c == QLatin1Char(';'))
            break;
        if (c == QLatin1Char('\\') && i + 1 < editMask.size()) {
            const QChar literal = editMask[++i];
            if (qtMeta.contains(literal))
                mask += QLatin1Char('\\');
            mask += literal;
            continue;
        }
        if (c == QLatin1Char('!'))
            continue;  // trimming of blanks has no counterpart
        if (c == QLatin1Char('<') && i + 1 < editMask.size() && editMask[i + 1] == QLatin1Char('>')) {
            mask += QLatin1Char('!');
            ++i;
            continue;
        }
        if (c == QLatin1Char('>') || c == QLatin1Char('<')) {
            mask += c;
            continue;
        }
        if (c == QLatin1Char('_')) {
            mask += QLatin1Char(' ');
            continue;
        }
        bool mapped = false;
        for (const auto& m : meta) {
            if (c == QLatin1Char(m.From)) {
                mask += QLatin1Char(m.To);
                mapped = true;
                break;
            }
        }
        if (mapped)
            continue;
        if (qtMeta.contains(c))
            mask += QLatin1Char('\\');
        mask += c;
    }
    if (mask.isEmpty())
        return {};
    const QStringList rest = editMask.mid(i + 1).split(QLatin1Char(';'));
    const QChar blank = rest.size() >= 2 && !rest[1].isEmpty() ? rest[1][0] : QLatin1Char('_');
    return mask + QLatin1Char(';') + blank;
}

}  // namespace grid::editors
