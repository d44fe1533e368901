#pragma once

#include "ruler/rulerindents.h"

#include <QObject>

class PageMargins;
class QWidget;
class TanlRuler;
class TEditLayout;
class TEditorActions;
class TRxRichEdit;

// What the ruler binding reaches. Nothing is owned.
struct RulerBindingContext {
    TanlRuler &ruler1;
    TRxRichEdit &Memo;
    // Keeps the margins and the ruler's width in pixels and lays the text out between them.
    TEditLayout &layout;
    TEditorActions &actions;
    // The page whose margins and printable width the ruler shows.
    const PageMargins &page;
};

// Binds the ruler `ruler1` to the editing area: its indent markers set the indents of the
// selected paragraphs, its margins set the editing rectangle and the line width, the page's
// margins and printable width set its margins and width, and Increase and Decrease Indent step
// its markers. It is also the ruler the selection tracker moves the markers of.
class TRulerBinding : public QObject, public TIndentRuler {
    Q_OBJECT

public:
    explicit TRulerBinding(RulerBindingContext context, QObject *parent = nullptr);
    ~TRulerBinding() override;

    // Makes the form's ruler inside its panel, with its design size, font, hint and start values.
    static TanlRuler *createRuler1(QWidget &RulerPanel);

    // Takes the margins from another page from now on. Must outlive this.
    void setPageMargins(const PageMargins &page) { m_page = &page; }

    // Start-up: a new document's first paragraph gets the indents the markers show.
    void SetupRuler();
    // Takes the page's margins and printable width into the ruler (3.2 pixels a millimetre).
    void SetMargin();
    void ruler1MarginChange(int marginId);
    void ruler1IndentChange(int indentId);
    void IncIndentActionExecute();
    void DecIndentActionExecute();

    // TIndentRuler: the selection tracker's view.
    int ClientWidth() const override;
    int MarginLeftPx() const override;
    int MarginRightPx() const override;
    void SetIndentMarkers(const RulerIndentMarkers &markers) override;

private:
    // Runs SetEditRect without marking the document changed.
    void layOut();

    RulerBindingContext m_context;
    const PageMargins *m_page;
};
