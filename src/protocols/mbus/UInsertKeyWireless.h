#pragma once
#include "platform/TForm.h"

#include <QPoint>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;
namespace controls {
class TPicButton;
}

// Entry of a wireless meter's AES-128 key as 32 hexadecimal digits; a frameless strip that its
// caller places. The edit keeps the key typed last.
class TFInsertKeyWireless : public platform::TForm {
    Q_OBJECT
public:
    explicit TFInsertKeyWireless(QWidget* parent = nullptr);
    void Set_Lang() override;

    QLabel* L_InsKey;
    QLineEdit* E_Key;
    controls::TPicButton* Btn_OK;
    controls::TPicButton* Btn_Cancel;

    void Btn_OKClick();
    // Where the dialog shows next (its top-left corner on the screen); none: centred.
    std::optional<QPoint> Place_At;

protected:
    void FormShow() override;
    void paintEvent(QPaintEvent* event) override;
};

TFInsertKeyWireless* FInsertKeyWireless();

// The sixteen key bytes of a key text: each pair of digits read as "0x" + pair (0 when the pair is
// not a number).
std::array<uint8_t, 16> Key_Bytes(const QString& key);
