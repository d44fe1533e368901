#pragma once

#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class Shell;

// The splash window shown while the editor window is created: borderless, on top of other
// windows, centred on the desktop, the program's picture with the maker's web address, which
// opens in the browser when clicked. Owned by the start-up, it lives until the process ends.
class TSplash : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 543;
    static constexpr int kHeight = 312;
    static const QString kWebAddress;

    // `shell` opens the web address and must outlive the window.
    explicit TSplash(Shell &shell, QWidget *parent = nullptr);

    QLabel *image1() const { return m_image1; }
    QLabel *label1() const { return m_label1; }
    QLabel *label2() const { return m_label2; }

    // Shows the window and paints it before returning, so it is seen while the start-up goes on.
    void showAndPaint();

public slots:
    void Label2Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *m_image1;
    QLabel *m_label1;
    QLabel *m_label2;
    Shell &m_shell;
    QElapsedTimer m_lastOpen;
};
