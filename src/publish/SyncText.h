#pragma once
// The figures of the synchronisation page: how much of the show the chosen
// folder already holds, in megabytes and percent.

#include <cstdint>
#include <string>

namespace lumetra {
class Language;
}

namespace lumetra::publish {

// bytes / 1048576 to two decimals, halves up, in the shortest form ("12.5",
// not "12.50") with the given decimal separator.
std::string MegabytesText(std::int64_t bytes, char decimalPoint);

// 100 / (total / same), rounded to the nearest integer, halves to even.
int HeldPercent(std::int64_t total, std::int64_t same);

// The decimal separator of the user's locale.
char LocaleDecimalPoint();

// frmFTP/lblSyncTrue with the line breaks, the total, the held part and the share.
std::string SyncPageText(Language& language, std::int64_t total, std::int64_t same,
                         char decimalPoint);

}  // namespace lumetra::publish
