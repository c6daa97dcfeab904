#include "foundation/Logger.h"

#include <boost/core/null_deleter.hpp>
#include <boost/date_time/posix_time/posix_time.hpp>
#include <boost/log/attributes/value_extraction.hpp>
#include <boost/log/core.hpp>
#include <boost/log/expressions.hpp>
#include <boost/log/sinks/basic_sink_backend.hpp>
#include <boost/log/sinks/sync_frontend.hpp>
#include <boost/log/sinks/text_ostream_backend.hpp>
#include <boost/log/sources/record_ostream.hpp>
#include <boost/log/sources/severity_logger.hpp>
#include <boost/log/utility/setup/common_attributes.hpp>
#include <boost/make_shared.hpp>
#include <iostream>
#include <ostream>

#include "foundation/LoggerFiles.h"

namespace logging = boost::log;
namespace expr = boost::log::expressions;
namespace sinks = boost::log::sinks;

namespace Convinience {

namespace {

// Hands each formatted line to the process's own log files. The synchronous
// front end serialises the calls.
class FileBackend : public sinks::basic_formatted_sink_backend<char, sinks::synchronized_feeding> {
public:
    FileBackend(const std::string& prefix, u64 rotationSize, u32 keptFiles)
        : files_(prefix, rotationSize, keptFiles) {}

    void consume(const logging::record_view&, const string_type& line) { files_.write(line); }

private:
    LoggerFiles files_;
};

using FileSink = sinks::synchronous_sink<FileBackend>;

}  // namespace

struct Logger::Source {
    logging::sources::severity_logger_mt<u32> logger;
};

const char* Logger::severityName(u32 severity) {
    static const char* const names[] = {"DEBUG", "INFO", "WARN", "ERROR", "CRITICAL"};
    return severity < 5 ? names[severity] : "";
}

Logger::Logger() : source_(std::make_unique<Source>()) {}
Logger::~Logger() = default;
Logger::Logger(const Logger&) : source_(std::make_unique<Source>()) {}
Logger& Logger::operator=(const Logger&) {
    return *this;
}

void Logger::log(u32 severity, const std::string& text) const noexcept {
    try {
        logging::record rec = source_->logger.open_record(logging::keywords::severity = severity);
        if (rec) {
            logging::record_ostream stream(rec);
            stream << text;
            stream.flush();
            source_->logger.push_record(std::move(rec));
        }
    } catch (...) {
        // Logging must never take its caller down.
    }
}

void Logger::initialize() {
    logging::add_common_attributes();
}

namespace {

void formatLine(const logging::record_view& rec, logging::formatting_ostream& out) {
    const auto line = logging::extract<unsigned int>("LineID", rec);
    const auto stamp = logging::extract<boost::posix_time::ptime>("TimeStamp", rec);
    const auto sev = logging::extract<u32>("Severity", rec);
    out << "[";
    if (line) out << *line;
    out << " ";
    if (stamp) out << boost::posix_time::to_iso_extended_string(*stamp);
    out << "][" << (sev ? Logger::severityName(*sev) : "") << "]: " << rec[expr::smessage];
}

}  // namespace

void Logger::addFileSink(const std::string& prefix, u64 rotationSize, u32 keptFiles) {
    auto sink =
        boost::make_shared<FileSink>(boost::make_shared<FileBackend>(prefix, rotationSize, keptFiles));
    sink->set_formatter(&formatLine);
    logging::core::get()->add_sink(sink);
}

void Logger::addStderrSink() {
    auto backend = boost::make_shared<sinks::text_ostream_backend>();
    backend->add_stream(boost::shared_ptr<std::ostream>(&std::clog, boost::null_deleter()));
    backend->auto_flush(true);
    auto sink = boost::make_shared<sinks::synchronous_sink<sinks::text_ostream_backend>>(backend);
    sink->set_formatter(&formatLine);
    logging::core::get()->add_sink(sink);
}

void Logger::installSeverityFilter() {
    logging::core::get()->set_filter(expr::attr<u32>("Severity").or_default(0u) >= severity::info &&
                                     expr::has_attr<u32>("Severity"));
}

void Logger::flush() {
    logging::core::get()->flush();
}

void Logger::setEnabled(bool enabled) {
    logging::core::get()->set_logging_enabled(enabled);
}

void Logger::resetForTests() {
    logging::core::get()->remove_all_sinks();
    logging::core::get()->reset_filter();
}

}  // namespace Convinience
