#include "recording/ui/memorylist.h"

#include "recording/ui/recordgrid.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QMenuBar>
#include <QTableView>

namespace recording {

MEMORYLIST::MEMORYLIST(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("MEMORYLIST"));
    setWindowTitle(QStringLiteral("MEMORYLIST"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    MnuPrint = menuBar()->addAction(QStringLiteral("PRINT"));
    MnuPrint->setObjectName(QStringLiteral("MnuPrint"));
    MNUGRAPH = menuBar()->addAction(QStringLiteral("GRAPH"));
    MNUGRAPH->setObjectName(QStringLiteral("MNUGRAPH"));

    Grid1 = new QTableView(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->setModel(&list_);
    setCentralWidget(Grid1);
    setUpRecordGrid(*Grid1, memoryListWidthSamples());
    resize(640, 420);
}

MEMORYLIST::~MEMORYLIST()
{
    Grid1->setModel(nullptr);
}

void MEMORYLIST::create()
{
    list_.clear();
    setUpRecordGrid(*Grid1, memoryListWidthSamples());
    Grid1->scrollToTop();
}

void MEMORYLIST::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    Q_EMIT closed();
}

} // namespace recording
