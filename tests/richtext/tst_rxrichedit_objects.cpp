#include "richtext/rtf/documentio.h"
#include "richtext/rxrichedit.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <memory>

// Embedded pictures in the rich text control: inserting one, pasting one from the clipboard,
// pasting in one chosen format, and the selected picture's size.
class TestRxRichEditObjects : public QObject {
    Q_OBJECT

private slots:
    void init() { m_edit = std::make_unique<TRxRichEdit>(); }
    void cleanup() { m_edit.reset(); }

    void insertedPictureIsOneObjectAndOneUndoStep() {
        m_edit->SetText(QStringLiteral("ab"));
        m_edit->SelectRange(1, 1, false);
        m_edit->InsertPicture(picture(QSize(30, 20)));
        QCOMPARE(pictures(), 1);
        QCOMPARE(m_edit->TextLength(), 3);
        m_edit->SelectRange(1, 2, false);
        QCOMPARE(m_edit->SelectedPictureSize(), QSize(30, 20));
        QCOMPARE(m_edit->SelectedPictureNaturalSize(), QSize(30, 20));
        m_edit->Undo();
        QCOMPARE(pictures(), 0);
        QCOMPARE(m_edit->Text(), QStringLiteral("ab"));
    }

    void pictureSurvivesRtf() {
        m_edit->InsertPicture(picture(QSize(12, 9)));
        QTextDocument copy;
        QVERIFY(readRtf(rtfFromDocument(*m_edit->document()), copy).ok());
        QCOMPARE(copy.toRawText().count(QChar::ObjectReplacementCharacter), 1);
    }

    void selectedPictureSizeChanges() {
        m_edit->InsertPicture(picture(QSize(40, 10)));
        m_edit->SelectRange(0, 1, false);
        m_edit->SetSelectedPictureSize(QSize(80, 20));
        QCOMPARE(m_edit->SelectedPictureSize(), QSize(80, 20));
        QCOMPARE(m_edit->SelectedPictureNaturalSize(), QSize(40, 10));
        // Anything but exactly one picture selected has no picture size, and nothing changes.
        m_edit->SelectRange(0, 0, false);
        QVERIFY(!m_edit->SelectedPictureSize().isValid());
        m_edit->SetSelectedPictureSize(QSize(5, 5));
        m_edit->SelectRange(0, 1, false);
        QCOMPARE(m_edit->SelectedPictureSize(), QSize(80, 20));
    }

    void clipboardPictureIsPastedAsAnObject() {
        QApplication::clipboard()->setImage(picture(QSize(5, 5)));
        QVERIFY(m_edit->CanPaste());
        m_edit->PasteFromClipboard();
        QCOMPARE(pictures(), 1);
        // Plain text takes no picture.
        m_edit->SetPlainText(true);
        m_edit->PasteFromClipboard();
        QCOMPARE(pictures(), 0);
    }

    void pasteAsUsesOnlyTheChosenFormat() {
        auto *data = new QMimeData;
        data->setText(QStringLiteral("plain words"));
        data->setHtml(QStringLiteral("<b>bold words</b>"));
        QApplication::clipboard()->setMimeData(data);
        const QStringList formats = m_edit->PasteFormats();
        QVERIFY(formats.contains(QStringLiteral("text/plain")));
        QVERIFY(formats.contains(QStringLiteral("text/html")));

        m_edit->PasteAs(QStringLiteral("text/plain"));
        QCOMPARE(m_edit->Text(), QStringLiteral("plain words"));
        m_edit->SelectRange(0, 1, false);
        QVERIFY(!m_edit->SelAttributes().Style().testFlag(TRxTextAttributes::fsBold));

        m_edit->Clear();
        m_edit->PasteAs(QStringLiteral("text/html"));
        QCOMPARE(m_edit->Text(), QStringLiteral("bold words"));
        m_edit->SelectRange(0, 1, false);
        QVERIFY(m_edit->SelAttributes().Style().testFlag(TRxTextAttributes::fsBold));

        // A format the clipboard does not hold pastes nothing.
        m_edit->Clear();
        m_edit->PasteAs(QStringLiteral("image/png"));
        QCOMPARE(m_edit->Text(), QString());
    }

    void protectedTextRefusesPictures() {
        m_edit->SetText(QStringLiteral("guard"));
        m_edit->SelectRange(0, 5, false);
        m_edit->SelAttributes().SetProtected(true);
        m_edit->InsertPicture(picture(QSize(3, 3)));
        QCOMPARE(pictures(), 0);
        QCOMPARE(m_edit->Text(), QStringLiteral("guard"));
    }

    void undoGroupMakesOneStep() {
        m_edit->SetText(QStringLiteral("one"));
        m_edit->BeginUndoGroup();
        m_edit->Paragraph().SetAlignment(TRxParaAttributes::taCenter);
        m_edit->BeginUndoGroup();
        m_edit->Paragraph().SetSpaceAfter(6);
        m_edit->EndUndoGroup();
        m_edit->SelAttributes().SetSize(20);
        m_edit->EndUndoGroup();
        QVERIFY(m_edit->CanUndo());
        m_edit->Undo();
        QVERIFY(!m_edit->CanUndo());
        QCOMPARE(m_edit->Paragraph().Alignment(), int(TRxParaAttributes::taLeftJustify));
        QCOMPARE(m_edit->Paragraph().SpaceAfter(), 0);
        // An unmatched end is ignored.
        m_edit->EndUndoGroup();
    }

private:
    static QImage picture(const QSize &size) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::blue);
        return image;
    }
    int pictures() const {
        return int(m_edit->document()->toRawText().count(QChar::ObjectReplacementCharacter));
    }

    std::unique_ptr<TRxRichEdit> m_edit;
};

QUILLET_TEST_MAIN(TestRxRichEditObjects)
#include "tst_rxrichedit_objects.moc"
