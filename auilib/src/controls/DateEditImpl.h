#pragma once

#include "BaseImplQt.h"
#include "DateEdit.h"
#include "DateEditTimers.h"

#include <QDateTimeEdit>
#include <QPointer>

namespace AUILib {

class DateEdit::impl : public BaseImplQt
{
public:
    explicit impl(DateEdit& owner);
    ~impl() override;

    QWidget* GetWidget() override { return m_widget; }
    int SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned id) override;
    QDateTimeEdit* Widget() const { return m_widget; }

    void SetMode(DateEditMode mode);
    DateEditMode Mode() const { return m_mode; }
    // The display format of the present mode.
    QString Format() const;
    void LoadPicture(const std::wstring& path);

private:
    void ConnectChanges();
    // Puts a plain date-time edit where the time-only widget was.
    void ReplaceWidget(const QString& format);

    DateEdit& m_owner;
    DateEditMode m_mode = DateOnly;
    QPointer<QDateTimeEdit> m_widget;
    QString m_picturePath;
    QMetaObject::Connection m_changes;
    // After the widget, which it reaches.
    DateEditTimers m_timers;
};

// Reads a date-time written in `format`. Qt reads a two-digit year as 19xx; it takes the century that
// puts it nearest to today, as a person writing it means.
QDateTime ReadDateTime(const QString& text, const QString& format);

} // namespace AUILib
