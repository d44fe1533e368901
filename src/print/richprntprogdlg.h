#pragma once

#include <QDialog>

class QLabel;

// The progress window "Print Progress" shown while a job prints or a preview is formatted: the
// status, the job title and the page number. It has no cancel button: a job runs to its end.
// Created and destroyed by the print component, one per job.
class TRichPrntProgDlg : public QDialog {
    Q_OBJECT

public:
    explicit TRichPrntProgDlg(QWidget *parent = nullptr);

    QLabel *lblStatus;
    QLabel *lblTitle;
    QLabel *lblPageNumber;

    // Centres the window on the screen it is on.
    void centre();
};
