#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// One step of a robot script: a command word and its arguments, as the line gave them.
//   window NAME            wait for a shown window of that object name; later steps act inside it
//   tick VIEW TITLE|*      tick the item of that title (or every checkable item) and click it
//   press BUTTON [TEXT]    click the button once it is enabled (and, with TEXT, once it reads TEXT)
//   cell VIEW TEXT         wait until a cell of the view contains TEXT
//   text WIDGET TEXT       wait until the widget's text is TEXT
//   answer WINDOW BUTTON   wait for a modal window (object name, or class such as QMessageBox) and
//                          click its button (object name or text)
//   sleep MS               wait
// Arguments are separated by blanks; the last argument takes the rest of the line.
struct RobotStep {
    QString command;
    QStringList arguments;
    int line = 0;

    QString argument(int i) const { return i < arguments.size() ? arguments[i] : QString(); }
};

// The steps of `text`; blank lines and lines starting with "#" are skipped. A line with an unknown
// command or too few arguments is an error, reported in `error` with its number.
bool parseRobotScript(const QString& text, QVector<RobotStep>* steps, QString* error);
