#pragma once

// An SVG file turned into a PNG of its page by us and by rsvg-convert, in turns: ours imports the file as the import
// command does (file read, parsed into records, page grown, records appended with their undo step) into a drawing of
// the page's size and exports the page as PNG into a file; rsvg-convert parses, draws and writes the same page on
// white. Each run is a process of its own, so that its peak memory (the largest resident set) is its own: ours is
// forked, the peer is run. The two take turns, each going first every other time, so that a machine growing busier
// or idler weighs on both alike; the time shown is ours, the peer's and the ratio are counters and are printed after
// each file. A file our import refuses, or reads only up to where it is damaged, prints why; its figures are those of
// what was read, and one damaged before anything of it is kept writes no picture. A forked child starts with the
// benchmark program's own pages, so run each benchmark alone.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

// A folder of the benchmark's own, under the temporary folder; the documents' support folders are moved there too.
const std::filesystem::path& benchFolder();

void svgToPNGInTurns(benchmark::State& state, const std::filesystem::path& file, double page, const std::string& label);
