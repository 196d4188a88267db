// Runs a tool record as a child process: captured, with its output copied
// line by line into a line list and summed up in one result code, or
// detached, without waiting.
#include "runner.h"

#include <cstring>
#include <optional>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadChunk = 64 * 1024;
constexpr const char* kCaption = "Vantor";

const char* StartFailureMessage(ChildStartFailure failure) {
    switch (failure) {
        case ChildStartFailure::OutputPipe:
            return "出力パイプの作成に失敗しました。";
        case ChildStartFailure::InputPipe:
            return "入力パイプの作成に失敗しました。";
        case ChildStartFailure::AttachInput:
            return "入力パイプの取り付けに失敗しました。";
        case ChildStartFailure::AttachOutput:
            return "出力パイプの取り付けに失敗しました。";
        case ChildStartFailure::AttachError:
            return "エラーパイプの取り付けに失敗しました。";
        case ChildStartFailure::PrepareInput:
            return "パイプハンドルの複製に失敗しました。";
        case ChildStartFailure::None:
        case ChildStartFailure::Launch:
            break;
    }
    return "プログラムの起動に失敗しました。";
}

// The window's event passes during a run. Lines handed on wait for the
// next pass, which comes as soon as nothing more is readable at once; while
// output keeps coming, at least every kEventPassInterval, however long its
// lines take to read.
class EventPasses {
  public:
    explicit EventPasses(UiServices& ui) : ui_(ui), last_(Clock::now()) {}

    void pass() {
        pending_ = false;
        ui_.processEvents();
        last_ = Clock::now();
    }
    bool pending() const { return pending_; }
    void passWhenDue() {
        if (Clock::now() - last_ >= kEventPassInterval) pass();
    }

    // A line of `bytes` bytes was handed on; the clock is read once some
    // thousand bytes have been, which bounds the reading between two looks.
    void handedOn(std::size_t bytes) {
        pending_ = true;
        sinceLook_ += bytes + 1;
        if (sinceLook_ < kBytesBetweenLooks) return;
        sinceLook_ = 0;
        passWhenDue();
    }

  private:
    static constexpr std::size_t kBytesBetweenLooks = 4096;

    UiServices& ui_;
    Clock::time_point last_;
    bool pending_ = false;
    std::size_t sinceLook_ = 0;
};

// Cuts the child's byte stream into lines, reads them and hands them on.
class LineCollector {
  public:
    LineCollector(OutputLines* lines, const RunServices& services, EventPasses& events)
        : lines_(lines),
          services_(services),
          events_(events),
          reader_(services.reader != nullptr ? *services.reader
                                             : BuiltInMessageReader(services.codePage)) {}

    // Takes the bytes of one read: every line completed by them is handed on
    // at once.
    void take(const char* data, std::size_t size) {
        while (size > 0) {
            const auto* lf = static_cast<const char*>(std::memchr(data, '\n', size));
            const std::size_t text = lf != nullptr ? static_cast<std::size_t>(lf - data) : size;
            if (lf != nullptr && partial_.empty() && text <= kMaxLineBytes &&
                std::memchr(data, '\r', text) == nullptr) {
                complete({data, text});  // the common case: one whole clean line
            } else {
                appendText(data, text);
                if (lf != nullptr) {
                    complete(partial_);
                    partial_.clear();
                }
            }
            if (lf == nullptr) break;
            data += text + 1;
            size -= text + 1;
        }
    }

    bool unfinishedLineHolds(std::string_view text) const {
        return partial_.find(text) != std::string::npos;
    }

    // A last line without a line feed goes to the list decoded but neither
    // read nor counted, and no events are processed after it.
    void flushUnfinished() {
        if (partial_.empty()) return;
        const OutputLine last{std::string(decoded(partial_)), LineKind::Plain, std::nullopt};
        partial_.clear();
        if (lines_ != nullptr) lines_->append(last);
    }

    int severity() const { return severity_; }
    const RunCounts& counts() const { return counts_; }

  private:
    // Adds text without its carriage returns to the unfinished line, handing
    // on a piece whenever the line outgrows kMaxLineBytes.
    void appendText(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            if (data[i] != '\r') partial_ += data[i];
        }
        while (partial_.size() > kMaxLineBytes) {
            std::size_t cut = 0;
            while (true) {
                const std::size_t next =
                    cut + common::charLength(services_.codePage, partial_, cut);
                if (next > kMaxLineBytes) break;
                cut = next;
            }
            complete(std::string_view(partial_).substr(0, cut));
            partial_.erase(0, cut);
        }
    }

    std::string_view decoded(std::string_view line) {
        if (services_.convert == nullptr) return line;
        return DecodeOutputLine(line, services_.outputEncoding, services_.codePage,
                                *services_.convert, converted_);
    }

    void complete(std::string_view raw) {
        const std::string_view line = decoded(raw);
        // An error outranks a warning, whichever comes first.
        const LineKind severity = SeverityByResultRule(line);
        if (severity == LineKind::Error) severity_ = kRunError;
        if (severity == LineKind::Warning && severity_ == kRunSucceeded) severity_ = kRunWarning;
        const OutputLine& read = reader_.read(line);
        counts_.add(read.kind);
        if (lines_ != nullptr) lines_->append(read);
        events_.handedOn(raw.size());
    }

    OutputLines* lines_;
    const RunServices& services_;
    EventPasses& events_;
    OutputLineReader reader_;
    std::string partial_;
    std::string converted_;  // the line decoded last, when it needed converting
    int severity_ = kRunSucceeded;
    RunCounts counts_;
};

// Stop of a run: the request to end goes to the child's group at the first
// look after the user asked, the kill kStopGrace later to what still runs.
class StopSequence {
  public:
    StopSequence(CapturedChild& child, const StopRequest* request)
        : child_(child), request_(request) {}

    // Sends what is due.
    void advance() {
        if (request_ == nullptr || !request_->requested) return;
        const Clock::time_point now = Clock::now();
        if (!requested_) {
            requested_ = true;
            since_ = now;
            child_.signalGroup(GroupSignal::Terminate);
        } else if (!killed_ && now - since_ >= kStopGrace) {
            killed_ = true;
            if (child_.groupAlive()) child_.signalGroup(GroupSignal::Kill);
        }
    }

    bool requested() const { return requested_; }
    bool givenUp() const { return requested_ && Clock::now() - since_ >= kStopGiveUp; }

    // After the child's own end: nothing of its group is left to stop.
    bool groupSettled() { return !requested_ || killed_ || !child_.groupAlive(); }

  private:
    CapturedChild& child_;
    const StopRequest* request_;
    bool requested_ = false;
    Clock::time_point since_;
    bool killed_ = false;
};

}  // namespace

RunResult RunCaptured(const Tool& tool, OutputLines* lines, const RunServices& services,
                      bool debugMode) {
    const std::string commandLine = ComposeCommandLine(tool);
    const bool debugLines = debugMode && lines != nullptr;
    const auto debugLine = [&](std::string line) {
        if (debugLines) lines->append({std::move(line), LineKind::Ide, std::nullopt});
    };
    debugLine("Command: " + commandLine);
    debugLine("Folder: " + tool.folder);

    std::unique_ptr<CapturedChild> child = services.processes.newCapturedChild();
    services.ui.setBusyCursor(true);
    const ChildStartFailure failure = child->start(commandLine, tool.folder, tool.minimised);
    if (failure != ChildStartFailure::None) {
        services.ui.setBusyCursor(false);
        services.ui.showMessage(StartFailureMessage(failure), kCaption, MessageIcon::Stop);
        return {false, kRunFailed};
    }
    debugLine("Create Process OK, Start Pipe.");

    EventPasses events(services.ui);
    LineCollector collector(lines, services, events);
    StopSequence stop(*child, services.stop);
    std::vector<char> buffer(kReadChunk);
    std::optional<int> status;
    Clock::time_point drainEnd;
    while (true) {
        stop.advance();
        if (stop.givenUp()) break;
        if (!status && (status = child->exitStatus())) drainEnd = Clock::now() + kDrainAfterEnd;
        // Once the child has ended, only what is readable at once is taken:
        // a program it left behind may hold the pipe open for ever.
        const bool ended = status && stop.groupSettled();
        // Lines waiting for their event pass wait only while more is readable.
        const ChildReadResult got = child->read(buffer.data(), buffer.size(),
                                                ended || events.pending() ? 0 : kSilencePollMs);
        if (got.status == ChildReadStatus::Data) {
            collector.take(buffer.data(), got.count);
            if (ended && Clock::now() >= drainEnd) break;
            events.passWhenDue();
            continue;
        }
        if (ended) break;
        if (events.pending()) {
            events.pass();
            continue;
        }
        // The child is silent: it may be waiting for an answer to its prompt.
        if (got.status == ChildReadStatus::NothingYet &&
            collector.unfinishedLineHolds(kFileSpecPrompt)) {
            child->write("\r");
        }
        services.ui.processEvents();
    }
    if (events.pending()) events.pass();
    collector.flushUnfinished();
    child->closePipes();
    services.ui.setBusyCursor(false);
    if (stop.requested()) return {true, kRunSucceeded, collector.counts()};
    return {false, *status != 0 ? *status : collector.severity(), collector.counts()};
}

bool RunDetached(const Tool& tool, ChildProcesses& processes) {
    return processes.startDetached(ComposeCommandLine(tool), tool.folder, tool.minimised);
}
