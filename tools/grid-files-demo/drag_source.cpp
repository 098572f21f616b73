// A window that starts a drag of one file (a text/uri-list) when pressed, so that a file drop can
// be made under a display without a file manager. When the drag ends it prints the drop's effect
// ("dropped: copy", "dropped: none" ...) and stays until it is closed: the target reads the
// dragged data from it after the drop.
//
//   grid-drag-source FILE
#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <cstdio>

namespace {

class TDragSource : public QLabel {
public:
    explicit TDragSource(const QString& file) : FFile(file)
    {
        setText(QStringLiteral("Press here to drag\n") + QFileInfo(file).fileName());
        setTextFormat(Qt::PlainText);
        setAlignment(Qt::AlignCenter);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() != Qt::LeftButton)
            return;
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(FFile)});
        drag->setMimeData(data);
        const Qt::DropAction effect = drag->exec(Qt::CopyAction);
        printf("dropped: %s\n", effect == Qt::CopyAction ? "copy" : effect == Qt::IgnoreAction ? "none" : "other");
        fflush(stdout);
    }

private:
    QString FFile;
};

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        fprintf(stderr, "usage: grid-drag-source FILE\n");
        return 2;
    }
    TDragSource window(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    window.setWindowTitle(QStringLiteral("Drag source"));
    window.resize(200, 120);
    window.show();
    return app.exec();
}
