#pragma once

#include <QFileDialog>

// The file-open dialog `OD` of the run locations: one existing program, chosen among folders,
// executable files and application entries (the filter "Programs").
class ProgramFileDialog : public QFileDialog {
    Q_OBJECT

public:
    explicit ProgramFileDialog(QWidget *parent = nullptr);

    static const QString Filter;

    // The chosen file after the dialog was confirmed.
    QString chosenFile() const;
};
