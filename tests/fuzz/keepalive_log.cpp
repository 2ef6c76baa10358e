// The agent's log, any bytes in either file: every line shown, or the newest
// 500 of them; at most 24 hours up.
#include "configurator/KeepAliveLogReport.h"
#include "tests/fuzz/FuzzCheck.h"
#include "tests/support/FakeConfiguratorFiles.h"

#include <algorithm>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzzcheck::Text(data, size);
    const std::size_t split = std::min(text.find('\f'), size);
    FakeConfiguratorFiles files;
    files.wholeFiles = {{"C:\\zarwatch.log.old", text.substr(0, split)}, {"C:\\zarwatch.log", text.substr(split)}};
    const KeepAliveLogReport report = KeepAliveLogReport::Read(files, "C:\\", {2003, 5, 14, 12, 0, 0});
    const std::string& all = report.ClipboardText();
    FUZZ_CHECK(report.NewestLines().size() == std::min<std::size_t>(std::count(all.begin(), all.end(), '\n'), 500));
    int hours = -1, minutes = -1;
    FUZZ_CHECK(std::sscanf(report.Summary().c_str(), "Line up %d h %d min", &hours, &minutes) == 2);
    FUZZ_CHECK(hours >= 0 && minutes >= 0 && minutes < 60 && hours * 60 + minutes <= 24 * 60);
    return 0;
}
