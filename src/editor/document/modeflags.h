#pragma once

// The editor window's mode: exactly one of the three flags is set in steady operation, and only
// the switching routines of TEditorModes change them. Everything else reads them.
struct TModeFlags {
    bool RTFMode = false;
    bool TextMode = false;
    bool HTMLMode = false;
    // The editing area is laid out for text mode (read by the layout routine).
    bool PlainLayout = false;
};
