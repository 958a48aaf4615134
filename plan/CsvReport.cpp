// One row per meter and step; the column "run" says "incomplete" on every row
// of an interrupted run, so a spreadsheet never takes it for a whole batch.
#include "core/HistoryCsv.h"
#include "plan/Reports.h"

namespace mb::plan {

std::string csvReport(const PlanResult& result) {
    std::string out =
        "line,port,meter,protocol,address,step,result,kind,reason,requests,reply_ms_min,reply_ms_max,reply_ms,"
        "id,reading,started,seconds,run\r\n";
    const std::string run = result.complete ? "complete" : "incomplete";
    for (const LineResult& line : result.lines)
        for (const StepResult& s : line.steps) {
            std::string times, lo, hi;
            if (!s.replyMs.empty()) {
                double min = s.replyMs.front(), max = min;
                for (double ms : s.replyMs) {
                    times += (times.empty() ? "" : " ") + msText(ms);
                    min = std::min(min, ms);
                    max = std::max(max, ms);
                }
                lo = msText(min);
                hi = msText(max);
            }
            const std::string fields[] = {line.name,
                                          line.port,
                                          s.meter,
                                          s.protocol,
                                          s.address,
                                          s.step,
                                          outcomeName(s.outcome),
                                          s.kind,
                                          s.reason,
                                          std::to_string(s.exchanges),
                                          lo,
                                          hi,
                                          times,
                                          s.reading ? readingId(*s.reading) : "",
                                          s.reading ? readingSummary(*s.reading) : "",
                                          s.startedAt,
                                          secondsText(s.seconds),
                                          run};
            std::string row;
            for (const std::string& f : fields) row += (row.empty() ? "" : ",") + csvField(f);
            out += row + "\r\n";
        }
    return out;
}

}  // namespace mb::plan
