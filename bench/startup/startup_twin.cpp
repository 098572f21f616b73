// The main window written with stock Qt widgets: the same size, labels, texts, fonts and frames,
// 8 visible and 22 hidden push buttons with hints. Quits on its first paint, as the start-up bench does.
#include <QApplication>
#include <QWidget>
#include <QLabel>
#include <QPushButton>
#include <QFrame>
#include <QStyle>

#include "QuitWhenPainted.h"

static QLabel* label(QWidget* p, int x, int y, bool bold, const QString& t) {
    auto* l = new QLabel(t, p); l->move(x, y);
    QPalette pal = l->palette(); pal.setColor(QPalette::WindowText, QColor(0x50,0x50,0x50)); l->setPalette(pal);
    if (bold) { QFont f = l->font(); f.setBold(true); l->setFont(f); }
    l->adjustSize(); return l;
}
static QPushButton* button(QWidget* p, int x, int y, int w, int h, const QString& t, const QString& tip) {
    auto* b = new QPushButton(t, p); b->setGeometry(x, y, w, h); b->setToolTip(tip); return b;
}
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget win; win.setWindowTitle("Maker - Configurator 18 - Modbus TCP Slave / MQTT ");
    auto* code = label(&win, 16, 8, false, "MQ18"); QFont cf("Verdana"); cf.setPixelSize(32); code->setFont(cf); code->adjustSize();
    label(&win, 16, 42, true, "MQTT Client / Modbus TCP Slave");
    label(&win, 16, 84, true, "Begin");
    auto* box = new QFrame(&win); box->setFrameShape(QFrame::Box); box->setGeometry(80, 70, 348, 36);
    label(&win, 87, 75, false, "None Configuration Opened ");
    label(&win, 87, 88, false, "Use Step1 to open or create new configuration");
    button(&win, 516, 8, 50, 50, "", "Information")->setIcon(win.style()->standardIcon(QStyle::SP_MessageBoxInformation));
    button(&win, 574, 8, 50, 50, "", "Options")->setIcon(win.style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    button(&win, 632, 8, 50, 50, "", "Close Configurator")->setIcon(win.style()->standardIcon(QStyle::SP_DialogCloseButton));
    for (int i = 0; i < 8; ++i) { auto* l = label(&win, 16, 128 + 44 * i, true, QString("Step %1").arg(i + 1)); if (i >= 4) l->hide(); }
    label(&win, 565, 260, true, "www.maker.example");
    button(&win, 80, 112, 170, 36, "New Configuration", "Create a new configuration for the device");
    button(&win, 258, 112, 170, 36, "Open Configuration", "Open an exists configuration");
    button(&win, 80, 156, 170, 36, "Set Communication", "Set the main parameters of Protocols");
    button(&win, 80, 200, 170, 36, "MQTT Set Topic", "Set the Topics for MQTT");
    button(&win, 80, 244, 170, 36, "Update Device UDP", "Update the actual Firmware and/or Configuration in the device");
    for (int i = 0; i < 22; ++i) button(&win, 80, 288, 170, 36, QString("Hidden step %1").arg(i), "hint")->hide();
    auto* link = new QLabel(&win); link->setGeometry(208, 19, 300, 16); link->hide();
    auto* line = new QFrame(&win); line->setFrameShape(QFrame::HLine); line->setGeometry(10, 295, 674, 1);
    win.setFixedSize(694, 396);
    QuitWhenPainted q; win.installEventFilter(&q);
    win.show();
    return app.exec();
}
