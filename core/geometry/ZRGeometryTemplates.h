#pragma once

// The small records that CZR_Matrix transforms, each in a float and an int form.

template <class T> struct CZR_PSVTemplate
{
    T x;
    T y;
};

template <class T> struct CZR_VTemplate
{
    T x;
    T y;
};

template <class T> struct CZR_RTemplate
{
    T x;
    T y;
    T width;
    T height;
};

// A rounded rectangle.
template <class T> struct CZR_RRTemplate
{
    T x;
    T y;
    T width;
    T height;
    T radiusX;
    T radiusY;
};

// A parallelogram: its origin and the vectors of its two sides.
template <class T> struct CZR_PRLTemplate
{
    T x;
    T y;
    T x1;
    T y1;
    T x2;
    T y2;
};
