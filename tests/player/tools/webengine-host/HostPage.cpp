#include "HostPage.h"

#include <QFile>
#include <QRegularExpression>
#include <QWidget>
#include <cstdio>

namespace {

// A "Key:   123 kB" field of a /proc file, in kB; 0 when it cannot be read.
long ProcField(const QString& file, const QString& key) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return 0;
    const QString text = QString::fromLatin1(f.readAll());
    const QRegularExpression field("^" + key + ":\\s+(\\d+) kB",
                                   QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = field.match(text);
    return m.hasMatch() ? m.captured(1).toLong() : 0;
}

void PrintLine(const QString& line) {
    std::printf("%s\n", line.toLocal8Bit().constData());
    std::fflush(stdout);
}

QString JsString(const QString& text) {
    QString out = text;
    out.replace("\\", "\\\\").replace("'", "\\'").replace("\n", "\\n");
    return "'" + out + "'";
}

}  // namespace

HostPage::HostPage(QWidget* view, QObject* parent) : QWebEnginePage(parent), view_(view) {}

void HostPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                        int line, const QString& source) {
    if (message == "lmt-done" || message == "lmt-measure done") {
        emit finished();
    } else if (message.startsWith("lmt-measure ")) {
        measure(message.mid(12).trimmed());
    } else if (message.startsWith("lmt-grab ")) {
        grab(message.mid(9).trimmed());
    } else if (message.startsWith("lmt-")) {
        PrintLine(message);
    } else if (level == ErrorMessageLevel) {
        PrintLine("lmt-console-error " + message + " (" + source + ":" + QString::number(line) +
                  ")");
    }
}

void HostPage::measure(const QString& step) {
    const QString proc = "/proc/" + QString::number(renderProcessPid());
    PrintLine("lmt-measure " + step + " " + QString::number(ProcField(proc + "/status", "VmRSS")) +
              " " + QString::number(ProcField(proc + "/smaps_rollup", "Pss")));
    runJavaScript("window.lmtMeasure.ack(" + QString::number(step.toInt()) + ")");
}

void HostPage::grab(const QString& file) {
    const bool saved = view_->grab().save(file, "PNG");
    runJavaScript("window.lmtGrabbed = " + JsString(saved ? file : QString()));
}
