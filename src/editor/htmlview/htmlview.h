#pragma once

#include <QImage>
#include <QTextBrowser>
#include <QUrl>
#include <functional>

class QMovie;

// The viewer of HTML pages and pictures that lies over the editing area in HTML and picture mode.
// It runs no scripts and fetches nothing from the network: every resource a page names comes from
// a local file (or an inline data: address), pictures are decoded by PictureDecoder, and a link
// to a web address is handed to the desktop's browser. A page or picture that cannot be read
// leaves the viewer empty; nothing is reported.
class HtmlView : public QTextBrowser {
    Q_OBJECT

public:
    explicit HtmlView(QWidget *parent = nullptr);
    ~HtmlView() override;

    // Shows the HTML document of a file, its pictures and relative references taken from the
    // file's folder. False (and an empty viewer) when the file cannot be read.
    bool loadPage(const QString &path);

    // Shows a picture file (JPEG, GIF with its animation, BMP, PNG) as the whole document,
    // shrunk to fit the view keeping its aspect. False (and an empty viewer) when it cannot be
    // decoded.
    bool loadPicture(const QString &path);

    // The file shown, empty when nothing is.
    QString shownFile() const { return m_shownFile; }
    bool showsPicture() const { return !m_pictureSize.isEmpty(); }
    // The size the picture is drawn at; empty when no picture is shown.
    QSize shownPictureSize() const;
    bool isAnimated() const { return m_movie != nullptr; }

    // Where links lead. External: web and mail addresses (unset: such links do nothing).
    // Local: pages and pictures on disk (unset: the viewer shows them itself).
    void setExternalLinkHandler(std::function<void(const QUrl &)> handler);
    void setLocalLinkHandler(std::function<void(const QString &)> handler);

    // Follows a link as a click on it does.
    void followLink(const QUrl &link);

    // Whether a file name is one the viewer shows when a link leads to it.
    static bool isViewable(const QString &path);

    QVariant loadResource(int type, const QUrl &name) override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void reset();
    QSize pictureBounds() const;
    void showPictureImage(const QImage &image);
    void refitPicture();
    void movieFrameChanged();

    QString m_shownFile;
    QUrl m_pictureUrl;
    QSize m_pictureSize; // full size of the shown picture, upright
    QImage m_decoded;    // the still picture as decoded for the view it was loaded into
    QMovie *m_movie = nullptr;
    int m_pictureSerial = 0;
    std::function<void(const QUrl &)> m_openExternal;
    std::function<void(const QString &)> m_openLocal;
};
