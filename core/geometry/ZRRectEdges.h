#pragma once

#include <algorithm>
#include <utility>

// The edge arithmetic that the integer and the float rectangle share, on their x and y edges in
// low/high order whatever each rectangle calls them.
struct ZR_RectEdges
{
    template <class T> static void Normalize(T& lowX, T& lowY, T& highX, T& highY)
    {
        if (lowX > highX)
            std::swap(lowX, highX);
        if (lowY > highY)
            std::swap(lowY, highY);
    }

    // Touching edges leave an empty rectangle; no overlap at all makes every edge 0.
    template <class T>
    static void Intersect(T& lowX, T& lowY, T& highX, T& highY, T otherX1, T otherY1, T otherX2, T otherY2)
    {
        Normalize(lowX, lowY, highX, highY);
        lowX = std::max(lowX, std::min(otherX1, otherX2));
        lowY = std::max(lowY, std::min(otherY1, otherY2));
        highX = std::min(highX, std::max(otherX1, otherX2));
        highY = std::min(highY, std::max(otherY1, otherY2));
        if (lowX > highX || lowY > highY)
            lowX = lowY = highX = highY = 0;
    }

    template <class T>
    static void Union(T& lowX, T& lowY, T& highX, T& highY, T otherX1, T otherY1, T otherX2, T otherY2)
    {
        Normalize(lowX, lowY, highX, highY);
        lowX = std::min(lowX, std::min(otherX1, otherX2));
        lowY = std::min(lowY, std::min(otherY1, otherY2));
        highX = std::max(highX, std::max(otherX1, otherX2));
        highY = std::max(highY, std::max(otherY1, otherY2));
    }
};
