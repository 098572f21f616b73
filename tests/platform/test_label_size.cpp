#include "platform/LabelSize.h"

#include <QFont>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

#include "support/QStringPrinter.h"

namespace {

struct TLabelCase {
    const char* Name;
    QString Text;
    int PixelSize;  // 0: the widget's own font
    bool Bold;
    Qt::Alignment Align;
    bool WordWrap;
    Qt::TextFormat Format;
    int Margin;
    QFrame::Shape Frame;
};

// The single measure gives the size adjustSize gives, for the labels it measures itself and for
// those it hands on.
TEST(LabelSize, FitsAsAdjustSizeDoes)
{
    const TLabelCase cases[] = {
        {"plain", QStringLiteral("Use Step1 to open or create new configuration"), 0, false, Qt::AlignLeft, false,
         Qt::AutoText, 0, QFrame::NoFrame},
        {"bold", QStringLiteral("MQTT Client / Modbus TCP Slave"), 0, true, Qt::AlignLeft, false, Qt::AutoText, 0,
         QFrame::NoFrame},
        {"large pixel font", QStringLiteral("MQ18"), 32, false, Qt::AlignLeft, false, Qt::AutoText, 0, QFrame::NoFrame},
        {"centred", QStringLiteral("Begin"), 0, true, Qt::AlignCenter, false, Qt::PlainText, 0, QFrame::NoFrame},
        {"right", QStringLiteral("Step 8"), 0, false, Qt::AlignRight | Qt::AlignBottom, false, Qt::AutoText, 0,
         QFrame::NoFrame},
        {"tab and lines", QStringLiteral("a\tb\nsecond line "), 0, false, Qt::AlignLeft, false, Qt::PlainText, 0,
         QFrame::NoFrame},
        {"ampersand", QStringLiteral("Save && go"), 0, false, Qt::AlignLeft, false, Qt::AutoText, 0, QFrame::NoFrame},
        {"right to left", QStringLiteral("\u05E9\u05DC\u05D5\u05DD"), 0, false, Qt::AlignLeft, false, Qt::AutoText, 0,
         QFrame::NoFrame},
        // Handed on to adjustSize:
        {"rich", QStringLiteral("<b>www</b>.maker.example"), 0, false, Qt::AlignLeft, false, Qt::AutoText, 0,
         QFrame::NoFrame},
        {"wrapped", QStringLiteral("a long text that wraps at a width of its own choosing"), 0, false, Qt::AlignLeft,
         true, Qt::AutoText, 0, QFrame::NoFrame},
        {"margin", QStringLiteral("x"), 0, false, Qt::AlignLeft, false, Qt::AutoText, 3, QFrame::NoFrame},
        {"framed", QStringLiteral("framed"), 0, false, Qt::AlignLeft, false, Qt::AutoText, 0, QFrame::Box},
        {"empty", QString(), 0, false, Qt::AlignLeft, false, Qt::AutoText, 0, QFrame::NoFrame},
    };
    QWidget window;
    for (const TLabelCase& c : cases) {
        SCOPED_TRACE(c.Name);
        QLabel* labels[2];
        for (QLabel*& l : labels) {
            l = new QLabel(&window);
            QFont f = l->font();
            if (c.PixelSize)
                f.setPixelSize(c.PixelSize);
            f.setBold(c.Bold);
            l->setFont(f);
            l->setAlignment(c.Align);
            l->setWordWrap(c.WordWrap);
            l->setTextFormat(c.Format);
            l->setMargin(c.Margin);
            l->setFrameShape(c.Frame);
            l->setText(c.Text);
        }
        labels[0]->adjustSize();
        platform::FitLabelToText(labels[1]);
        EXPECT_EQ(labels[1]->size(), labels[0]->size());
        // A new text is measured anew.
        for (QLabel* l : labels)
            l->setText(c.Text + QStringLiteral(" and more"));
        labels[0]->adjustSize();
        platform::FitLabelToText(labels[1]);
        EXPECT_EQ(labels[1]->size(), labels[0]->size());
    }
}

}  // namespace
