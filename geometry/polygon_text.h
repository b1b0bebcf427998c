#pragma once

// Polygons as whitespace-separated text: the number of contours, then per contour its
// number of vertices, its hole flag (only when flags are asked for) and x y per vertex.
// Written one item per line, counts and flags as integers, coordinates with 15 decimals
// and a leading blank for non-negative values, always in the C locale.

#include <cstdio>

#include "geometry/polygon_records.h"

// Every field is checked: a missing, non-numeric or non-finite field, a negative count,
// or a count more than the rest of a seekable stream can hold gives false and leaves
// `polygon` untouched. Without flags every hole flag reads as 0.
bool readPolygon(std::FILE* stream, bool readHoles, PolygonRecord& polygon);
// False when the stream refuses the text.
bool writePolygon(std::FILE* stream, bool writeHoles, const PolygonRecord& polygon);
