#pragma once

// Picture files made in code for the controls' picture tests.
#include <QByteArray>
#include <QColor>
#include <QImage>

#include <initializer_list>

namespace PictureBytes {

// `image` as a file of `format` ("PNG", "ICO", ...).
QByteArray Encoded(const QImage& image, const char* format);
// A picture of that size filled with one colour.
QImage Filled(int width, int height, QColor colour);
// A PNG of that size filled with one colour.
QByteArray Png(int width, int height, QColor colour);
// An icon file holding one square image per width, in the order given.
QByteArray Ico(std::initializer_list<int> widths);
// A looping 4 x 4 GIF of two frames, each drawing its top-left pixel: red, then blue.
QByteArray TwoFrameGif();

} // namespace PictureBytes
