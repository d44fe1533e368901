#include "tools/run_app_location.h"

#include "platform/errorreport.h"
#include "platform/prompts.h"
#include "platform/settingskey.h"
#include "platform/storeerror.h"
#include "tools/browseforfolders.h"
#include "tools/fileicon.h"
#include "tools/programfiledialog.h"
#include "tools/runlocations.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int ImageSize = 33;

} // namespace

TRun_App_Location::TRun_App_Location(SettingsStore &store, Prompts &prompts, QWidget *parent)
    : QDialog(parent)
    , m_store(store)
    , m_prompts(prompts) {
    setObjectName(QStringLiteral("Run_App_Location"));
    setWindowTitle(QStringLiteral("Run_App_Location"));
    resize(550, 420);

    auto *layout = new QVBoxLayout(this);
    auto *note = new QLabel(
        QStringLiteral("Icons will be visible on the toolbar next time you restart Quillet"), this);
    note->setObjectName(QStringLiteral("Label1"));
    QFont bold = note->font();
    bold.setBold(true);
    note->setFont(bold);
    note->setWordWrap(true);
    layout->addWidget(note);

    const QString executable = QStringLiteral("Enter location of an Executable");
    const auto row = [&](QGridLayout *grid, int line, int n, const char *buttonName,
                         const QString &caption) {
        auto *image = new QLabel(this);
        image->setObjectName(QStringLiteral("Image%1").arg(n));
        image->setFixedSize(ImageSize, ImageSize);
        image->setAlignment(Qt::AlignCenter);
        image->setAccessibleName(QStringLiteral("Program %1 Icon").arg(n));
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(n));
        edit->setPlaceholderText(executable);
        edit->setAccessibleName(QStringLiteral("Program %1").arg(n));
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QLatin1String(buttonName));
        button->setAccessibleName(QStringLiteral("Choose Program %1").arg(n));
        button->setToolTip(QStringLiteral("Choose Program %1").arg(n));
        grid->addWidget(image, line, 0);
        grid->addWidget(edit, line, 1);
        grid->addWidget(button, line, 2);
        m_edits[size_t(n - 1)] = edit;
        m_images[size_t(n - 1)] = image;
        return button;
    };

    auto *editors = new QGroupBox(QStringLiteral("Open current file with:"), this);
    editors->setObjectName(QStringLiteral("GroupBox1"));
    auto *editorGrid = new QGridLayout(editors);
    run1 = row(editorGrid, 0, 1, "run1", QStringLiteral("1"));
    run2 = row(editorGrid, 1, 2, "run2", QStringLiteral("2"));
    layout->addWidget(editors);

    auto *programs = new QGroupBox(
        QStringLiteral("Select Application linked to the relevant button in Quillet"), this);
    programs->setObjectName(QStringLiteral("GroupBox2"));
    auto *programGrid = new QGridLayout(programs);
    run3 = row(programGrid, 0, 3, "run3", QStringLiteral("3"));
    run4 = row(programGrid, 1, 4, "run4", QStringLiteral("4"));
    SpeedButton1 = row(programGrid, 2, 5, "SpeedButton1", QStringLiteral("5"));
    SpeedButton2 = row(programGrid, 3, 6, "SpeedButton2", QStringLiteral("6"));
    layout->addWidget(programs);

    auto *folder = new QGroupBox(QStringLiteral("Initial Start Directory"), this);
    folder->setObjectName(QStringLiteral("GroupBox3"));
    auto *folderGrid = new QGridLayout(folder);
    Edit7 = new QLineEdit(folder);
    Edit7->setObjectName(QStringLiteral("Edit7"));
    Edit7->setPlaceholderText(QStringLiteral("Enter location of a directory"));
    Edit7->setAccessibleName(QStringLiteral("Initial Start Directory"));
    SpeedButton3 = new QPushButton(QStringLiteral("Browse"), folder);
    SpeedButton3->setObjectName(QStringLiteral("SpeedButton3"));
    SpeedButton3->setAccessibleName(QStringLiteral("Browse"));
    folderGrid->addWidget(Edit7, 0, 0);
    folderGrid->addWidget(SpeedButton3, 0, 1);
    layout->addWidget(folder);
    layout->addStretch(1);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("CloseBtn"));
    close->setAccessibleName(QStringLiteral("Close"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);

    Edit1 = m_edits[0];
    Edit2 = m_edits[1];
    Edit3 = m_edits[2];
    Edit4 = m_edits[3];
    Edit5 = m_edits[4];
    Edit6 = m_edits[5];
    Image1 = m_images[0];
    Image2 = m_images[1];
    Image3 = m_images[2];
    Image4 = m_images[3];
    Image5 = m_images[4];
    Image6 = m_images[5];

    OD = new ProgramFileDialog(this);

    connect(run1, &QPushButton::clicked, this, &TRun_App_Location::run1Click);
    connect(run2, &QPushButton::clicked, this, &TRun_App_Location::run2Click);
    connect(run3, &QPushButton::clicked, this, &TRun_App_Location::run3Click);
    connect(run4, &QPushButton::clicked, this, &TRun_App_Location::run4Click);
    connect(SpeedButton1, &QPushButton::clicked, this, &TRun_App_Location::SpeedButton1Click);
    connect(SpeedButton2, &QPushButton::clicked, this, &TRun_App_Location::SpeedButton2Click);
    connect(SpeedButton3, &QPushButton::clicked, this, &TRun_App_Location::SpeedButton3Click);

    FormCreate();
}

void TRun_App_Location::FormCreate() {
    const auto key = m_store.openKey(QuilletSettingsKey, true);
    if (!key)
        return;
    for (int n = 1; n <= TRunLocations::Count; ++n)
        locationEdit(n)->setText(TRunLocations::ReadText(*key, TRunLocations::ValueName(n)));
    Edit7->setText(TRunLocations::ReadText(*key, TRunLocations::InitialDirValue));
}

void TRun_App_Location::changeEvent(QEvent *event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TRun_App_Location::FormActivate() {
    for (int n = 1; n <= TRunLocations::Count; ++n)
        showIcon(n);
}

void TRun_App_Location::showIcon(int n) {
    const QString path = locationEdit(n)->text();
    QLabel *image = locationImage(n);
    if (path.isEmpty())
        image->clear();
    else
        image->setPixmap(FileIcon::forFile(path).pixmap(32, 32));
}

void TRun_App_Location::chooseProgram(int n) {
    if (m_prompts.exec(*OD) == QDialog::Accepted) {
        const QString chosen = OD->chosenFile();
        if (!chosen.isEmpty())
            locationEdit(n)->setText(chosen);
    }
    showIcon(n);
}

void TRun_App_Location::SpeedButton3Click() {
    Edit7->setText(TBrowseForFolders(m_prompts, this).Execute(Edit7->text()));
}

bool TRun_App_Location::FormCloseQuery() {
    // Whatever the fields hold is stored; a store that refuses it is reported and the dialog
    // closes all the same.
    ErrorReport::run(m_prompts, this, [this] {
        m_store.batch([this] {
            auto key = m_store.openKey(QuilletSettingsKey, true);
            if (!key)
                return;
            for (int n = 1; n <= TRunLocations::Count; ++n)
                key->writeString(TRunLocations::ValueName(n), locationEdit(n)->text());
            key->writeString(TRunLocations::InitialDirValue, Edit7->text());
        });
    });
    return true;
}

void TRun_App_Location::done(int result) {
    if (FormCloseQuery())
        QDialog::done(result);
}
