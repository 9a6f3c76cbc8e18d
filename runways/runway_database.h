#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "base/file_reading.h"
#include "base/short_text.h"

namespace pistavox {

// One usable direction of a runway; every accepted CSV row gives two.
struct RunwayDirection {
  ShortText airport_ident;   // as in the file, case and blanks kept
  ShortText ident;           // this end's designator, normalised
  ShortText opposite_ident;  // the other end's designator, normalised
  double threshold_lat_deg = 0.0;
  double threshold_lon_deg = 0.0;
  double end_lat_deg = 0.0;
  double end_lon_deg = 0.0;
  double length_m = 0.0;
  double width_m = 0.0;           // never below 18 m
  double heading_true_deg = 0.0;  // threshold to end, [0, 360)
};

// In file order; the le direction of a row directly precedes its he direction.
using RunwayDatabase = std::vector<RunwayDirection>;

// Reads the CSV file at `path` into `directions` (replaced). False, with `error`
// set and `directions` untouched, only when the file cannot be opened, is empty or
// its header line is longer than any runway file's. Rows the format allows to be
// unusable (closed, no coordinates, no names) are skipped silently; rows that are no
// runway at all are skipped and counted in `rows_refused`: a line or an identifier too
// long, an end off the globe, a length (given, or else between the ends) or a width
// negative or beyond any runway's, a repeat of an earlier row.
bool LoadRunwayDatabase(const std::string& path, RunwayDatabase& directions, std::string& error,
                        std::size_t* rows_refused = nullptr);
// The same on file contents already in memory; `path` only names it in messages.
bool ParseRunwayDatabase(std::string_view contents, const std::string& path, RunwayDatabase& directions,
                         std::string& error, std::size_t* rows_refused = nullptr);
// What a load line adds for refused rows: nothing, or " (N rows skipped)".
std::string RowsRefusedNote(std::size_t rows_refused);
// The loader's message for a file it could not read ("Cannot open runway database: " + path).
std::string RunwayDatabaseReadFailure(FileReadStatus status, const std::string& path);

}  // namespace pistavox
