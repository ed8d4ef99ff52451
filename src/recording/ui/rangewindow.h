#pragma once

#include "recording/memoryselection.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace recording {

// The range window of a stored-data graph: first and last record, MIN and
// MAX, and a confirm button. Thin: the apply belongs to its controller.
// MRANGE is the opened-file list's; the downloaded-record list has a twin.
class RangeWindow : public QWidget
{
    Q_OBJECT
public:
    explicit RangeWindow(const QString &caption, QWidget *parent = nullptr);

    RangeBoxes boxes() const;
    void setBoxes(const RangeBoxes &boxes);

    QLineEdit *TXTT1; // first record
    QLineEdit *TXTT2; // last record
    QLineEdit *TXTR1; // MIN
    QLineEdit *TXTR2; // MAX
    QPushButton *SSCommand1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;

Q_SIGNALS:
    void applyClicked();
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
};

// "MEMORY_RANGE".
class MRANGE : public RangeWindow
{
    Q_OBJECT
public:
    explicit MRANGE(QWidget *parent = nullptr);
};

} // namespace recording
