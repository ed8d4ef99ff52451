#include "reclist/ui/reclistwindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QTableView>
#include <QVBoxLayout>

namespace reclist {

recording::WidthSamples recordListWidthSamples()
{
    recording::WidthSamples samples = recording::memoryListWidthSamples();
    samples[5] = QStringLiteral("50M Ohm");
    samples[7] = QStringLiteral("LOW");
    return samples;
}

REC_LIST::REC_LIST(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("REC_LIST"));
    setWindowTitle(QStringLiteral("REC_LIST"));
    setFont(QFont(QStringLiteral("Liberation Sans")));

    MNUSAVE = menuBar()->addAction(QStringLiteral("SAVE"));
    MNUSAVE->setObjectName(QStringLiteral("MNUSAVE"));
    MnuPrint = menuBar()->addAction(QStringLiteral("PRINT"));
    MnuPrint->setObjectName(QStringLiteral("MnuPrint"));
    MNUGRAPH = menuBar()->addAction(QStringLiteral("GRAPH"));
    MNUGRAPH->setObjectName(QStringLiteral("MNUGRAPH"));

    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    SSPANEL1 = new QLabel(body);
    SSPANEL1->setObjectName(QStringLiteral("SSPANEL1"));
    SSPANEL1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SSPANEL1->setAlignment(Qt::AlignCenter);
    Grid1 = new QTableView(body);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setModel(&list_);
    layout->addWidget(SSPANEL1);
    layout->addWidget(Grid1, 1);
    setCentralWidget(body);
    recording::setUpRecordGrid(*Grid1, recordListWidthSamples());
    resize(640, 420);
}

REC_LIST::~REC_LIST()
{
    Grid1->setModel(nullptr);
}

void REC_LIST::create()
{
    list_.clear();
    SSPANEL1->clear();
    recording::setUpRecordGrid(*Grid1, recordListWidthSamples());
    Grid1->scrollToTop();
    move(createdAt);
}

void REC_LIST::setCurrentRow(qint64 row)
{
    // Model row r is record r + 1; the caption row has no model row.
    if (row < 1 || row > list_.recordCount())
        return;
    Grid1->setCurrentIndex(list_.index(int(row - 1), 0));
}

void REC_LIST::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

} // namespace reclist
