#pragma once

// The push button's looks. Inside values a colon is written "\u3A" so that the rule editor keeps
// gradients whole; the colons turn back just before a sheet reaches the widget.
namespace AUILib::ButtonSheets {

// Styles 1, 2 and 3.
inline constexpr const char* A =
    R"(QPushButton{color: #000000;background-color: transparent; text-align:center; border: 0px;})"
    R"(QPushButton:focus{ outline:0; border-width: 1px; border-style: dashed; border-color: black; background-color: transparent;})"
    R"(QPushButton:disabled{color: #c3c3c3;background-color: transparent;})"
    R"(QPushButton:hover{background-color:transparent;border:none; border-color:none;})"
    R"(QPushButton:pressed{background-color:transparent;border:none; border-color:transparent; })";

// Style 5.
inline constexpr const char* B =
    R"(QPushButton{color: #000000; background-color: transparent; border: 0px; })"
    R"(QPushButton:focus{outline: none;})"
    R"(QPushButton:disabled{color: #c3c3c3;background-color: transparent;border-color: #d6d6d6;})"
    R"(QPushButton:hover{background-color:transparent;border:none; border-color:transparent;})"
    R"(QPushButton:pressed{background-color:transparent;border:none; border-color:transparent; })";

// Styles 4, 8 and 9, after their corner radius is set.
inline constexpr const char* C =
    R"(QPushButton{color: #000000;background-color: #e5e5e5;border:1px solid; border-radius: 0px;border-color: #afafaf;})"
    R"(QPushButton:focus{outline: none; background-color:#e5e5e5;border-color: #afafaf;})"
    R"(QPushButton:disabled{color: #c3c3c3;background-color: #ececec;border-color: #d6d6d6;})"
    R"(QPushButton:hover{background-color:#e5e5e5;border-color:#afafaf;})"
    R"(QPushButton:pressed{background-color:#e5e5e5; })";

// Style 6.
inline constexpr const char* D =
    R"(QPushButton{color: #000000; background-color: transparent; text-align:center; border: 0px;})"
    R"(QPushButton:focus{outline: none;})"
    R"(QPushButton:disabled{color: #c3c3c3;background-color: transparent;border-color: #d6d6d6;})"
    R"(QPushButton:hover{background-color:transparent;border-color:#afafaf;})"
    R"(QPushButton:pressed{background-color:transparent;border-color:#afafaf; })";

// Style 7.
inline constexpr const char* E =
    R"(QPushButton{color: #000000; background-color: transparent; text-align:center; border: 0px;})"
    R"(QPushButton:focus{outline: none; border-width: 0px; border-style: dotted;})"
    R"(QPushButton:disabled{color: #c3c3c3;background-color: transparent;border-color: #d6d6d6;})"
    R"(QPushButton:hover{background-color:transparent;border-color:#afafaf;})"
    R"(QPushButton:pressed{background-color:transparent;border-color:#afafaf; })";

// The default look of a button 31 pixels or taller outside a button box.
inline constexpr const char* F =
    R"(QPushButton{color: #000000;background-color:qlineargradient(x1\u3A0, y1\u3A0, x2\u3A0, y2\u3A1, stop\u3A0 #e5e5e5, stop\u3A1 #f7f7f7);border-width: 1px;border-style: solid;border-color:#afafaf;})"
    R"(QPushButton:hover{background-color:qlineargradient(x1\u3A0, y1\u3A0, x2\u3A0, y2\u3A1, stop\u3A0 #e5e5e5, stop\u3A1 #f7f7f7);border-color:#afafaf;})"
    R"(QPushButton:focus{color: #000000;background-color:#e5e5e5;border-color: #afafaf;})"
    R"(QPushButton:disabled{color: #c3c3c3;background-color: #ececec;border-color: #d6d6d6;})"
    R"(QPushButton:pressed{background-color:#bfbfbf; })";

// The default look otherwise.
inline constexpr const char* G =
    R"(QPushButton{color: #000000;background-color:#ffffff;border-width: 1px;border-style: solid;border-color:#c7c7c7;border-radius: 5px;})"
    R"(QPushButton:hover{background-color:#ffffff;border-color:#c7c7c7;})"
    R"(QPushButton:focus{color: #000000;background-color:#ffffff;border-color: #c7c7c7;})"
    R"(QPushButton:disabled{color: #7f7f7f;background-color: #f7f7f7;border-color: #e0e0e0;})"
    R"(QPushButton:pressed{background-color:qlineargradient(x1\u3A0, y1\u3A0, x2\u3A0, y2\u3A1, stop\u3A0 #5ca5ff, stop\u3A1 #0075ea);border-color:#2b90ff;})";

// The text label below the picture; set on the label as it is.
inline constexpr const char* H =
    R"(QLabel{background-color: transparent; text-align:center; border: 0px; color:#000000;})"
    R"(QLabel:disabled{color:qlineargradient(x1\u3A0, y1\u3A0, x2\u3A0, y2\u3A1, stop\u3A0 #2b90ff, stop\u3A1 #0075ea);})";

} // namespace AUILib::ButtonSheets
