#pragma once

#include <QObject>
#include <QTimer>

class QTextEdit;

// Keeps a focus change from laying out a large document all at once. The text control repaints
// the selection on every focus change, and for a selection that spans paragraphs it first lays
// the whole document out: for a million paragraphs many seconds in which the window answers
// nothing. While the control's lazy layout is still under way, such a focus change reaches the
// control once the layout is done or the selection no longer spans paragraphs; the focus itself
// moves at once. Owned by the text edit it watches.
class FocusLayoutGuard : public QObject {
public:
    explicit FocusLayoutGuard(QTextEdit *edit);

    // Whether a focus change now would make the control lay out the whole document.
    bool wouldLayOutAll() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void deliverHeldBack();

    QTextEdit *m_edit;
    QTimer m_retry;
    bool m_controlFocused = false; // the focus state the control was last told
    bool m_delivering = false;
};
