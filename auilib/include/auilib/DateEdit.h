#pragma once

#include "AUILibUtils.h"
#include "BaseGUIObject.h"

#include <cstdint>
#include <memory>
#include <string>

namespace AUILib {

struct ZrDateTime
{
    std::uint16_t year = 0;
    std::uint16_t month = 0;
    std::uint16_t day = 0;
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
};

// Edits a time of day, a date, or both, in the system locale's short date format, with a calendar
// for the date modes.
class DateEdit : public BaseGUIObject
{
public:
    // Other values are kept as given and change nothing in the widget.
    enum DateEditMode : std::int32_t {
        TimeOnly = 0,
        DateOnly = 1,
        DateAndTime = 2,
    };

    class impl;

    DateEdit();
    ~DateEdit() override;

    bool Create(QWidget* parent) override;
    Size IdealSize() override;
    std::shared_ptr<BaseImpl> GetBaseImpl() const override;
    SkinManager* GetSkinManager() override;

    // A picture on the drop-down button; a missing file removes it.
    virtual void LoadPicture(const std::wstring& path);
    virtual void LoadPicture(const unsigned char*, int, ImageTypes) {}
    // From time only to a date mode the widget is replaced, in the state the old one was in: ask
    // GetWndPtr again afterwards.
    virtual void SetMode(DateEditMode mode);
    virtual DateEditMode GetMode();

    // False, and nothing changes, for a value that is no valid local date and time.
    bool SetDateTime(const ZrDateTime& value);
    // The text in the mode's display format.
    bool SetDateTime(const std::wstring& text);
    ZrDateTime GetDateTime() const;
    // In Qt's text date form, which SetDateTime does not read.
    std::wstring GetDateTimeString() const;
    QWidget* GetWndPtr();

    // Every change of the value, the program's included.
    HandlerList<ZrDateTime> OnDateTimeChanged;

private:
    std::shared_ptr<impl> m_impl;
};

} // namespace AUILib
