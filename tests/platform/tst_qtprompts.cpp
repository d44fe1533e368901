#include "platform/qtprompts.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

// Acts on the modal dialog as soon as the event loop shows it.
void whenModal(std::function<void(QWidget *)> act) {
    QTimer::singleShot(0, [act] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        act(modal);
    });
}

} // namespace

// The real dialogs behind Prompts: answers come back as the user gave them.
class tst_QtPrompts : public QObject {
    Q_OBJECT

private slots:
    void messageAnswersTheButtonPressed() {
        QtPrompts prompts;
        QString shownText;
        QString shownCaption;
        whenModal([&](QWidget *w) {
            auto *box = qobject_cast<QMessageBox *>(w);
            QVERIFY(box);
            shownText = box->text();
            shownCaption = box->windowTitle();
            QCOMPARE(box->icon(), QMessageBox::Warning);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Cancel));
            box->button(QMessageBox::No)->click();
        });
        const auto answer = prompts.message(
            nullptr, QStringLiteral("Caption"), QStringLiteral("Save changes?"),
            QMessageBox::Warning, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
            QMessageBox::Cancel);
        QCOMPARE(answer, QMessageBox::No);
        QCOMPARE(shownText, QStringLiteral("Save changes?"));
        QCOMPARE(shownCaption, QStringLiteral("Caption"));
    }

    // Parts the caller keeps fixed are greyed out; the dialog stands a third of the way down.
    void pageSetupDisablesParts() {
        QtPrompts prompts;
        QPrinter printer;
        bool marginsEnabled = true;
        bool orientationEnabled = false;
        QPoint at;
        QSize size;
        whenModal([&](QWidget *w) {
            auto *dialog = qobject_cast<QPageSetupDialog *>(w);
            QVERIFY(dialog);
            auto *top = dialog->findChild<QWidget *>(QStringLiteral("topMargin"));
            auto *portrait = dialog->findChild<QWidget *>(QStringLiteral("portrait"));
            QVERIFY(top && portrait);
            marginsEnabled = top->isEnabled();
            orientationEnabled = portrait->isEnabled();
            at = dialog->pos();
            size = dialog->size();
            dialog->reject();
        });
        QVERIFY(!prompts.pageSetupDocumentDialog(nullptr, printer, Prompts::MarginsPart));
        QVERIFY(!marginsEnabled);
        QVERIFY(orientationEnabled);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(at.y(), (screen.height() - size.height()) / 3);
    }

    void inputBoxAnswersTextOrNothing() {
        QtPrompts prompts;
        whenModal([](QWidget *w) {
            auto *dialog = qobject_cast<QInputDialog *>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->textValue(), QStringLiteral("start"));
            dialog->setTextValue(QStringLiteral("typed"));
            dialog->accept();
        });
        QCOMPARE(prompts.inputBox(nullptr, QStringLiteral("Input"), QStringLiteral("Name:"),
                                  QStringLiteral("start")),
                 std::optional<QString>(QStringLiteral("typed")));

        whenModal([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        QCOMPARE(prompts.inputBox(nullptr, QStringLiteral("Input"), QStringLiteral("Name:"), {}),
                 std::optional<QString>());
    }

    void execRunsOurOwnDialog() {
        QtPrompts prompts;
        QDialog dialog;
        whenModal([](QWidget *w) { qobject_cast<QDialog *>(w)->accept(); });
        QCOMPARE(prompts.exec(dialog), int(QDialog::Accepted));
        whenModal([](QWidget *w) { qobject_cast<QDialog *>(w)->reject(); });
        QCOMPARE(prompts.exec(dialog), int(QDialog::Rejected));
    }
};

QUILLET_TEST_MAIN(tst_QtPrompts)
#include "tst_qtprompts.moc"
