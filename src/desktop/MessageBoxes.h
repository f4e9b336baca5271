#pragma once

class QWidget;

namespace servo {

// The start-up notice: two lines, an OK button, no icon. Modal; returns once dismissed.
void showStartUpNotice(QWidget* parent);

// The About box: titled "ABOUT", five lines, an OK button, no icon. Modal; the simulation
// stands still until it is closed.
void showAboutBox(QWidget* parent);

// The keys help: every key of the program and what it does, from the core's key table. Modal;
// Esc or Enter closes it.
void showKeysHelp(QWidget* parent);

// Closes every message box still open (used when the window closes under one).
void closeOpenMessageBoxes();

} // namespace servo
