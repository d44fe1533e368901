#pragma once

class QWidget;

// Gives the editing area the keyboard focus when it can take it (enabled and shown); anything
// that goes wrong on the way is dropped, since a command has done its work by then.
void FocusMemo(QWidget &memo);
