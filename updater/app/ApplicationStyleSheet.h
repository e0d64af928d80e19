#pragma once

// The style sheet the updater gives the whole application: every button takes the system's height
// rule. Qt reads no "pt" length in a height, so the rule on its own sets the height to nothing and a
// button that a layout sizes shrinks to a few pixels; the updater's own forms give their buttons a
// minimum height, and the message boxes, built by Qt, get theirs here.
inline constexpr char kApplicationStyleSheet[] = "QPushButton{height: 32pt} QMessageBox QPushButton{min-height: 16px}";
