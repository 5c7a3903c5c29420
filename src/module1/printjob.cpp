#include "printjob.h"

#include "messages.h"
#include "platform/messageboxes.h"
#include "platform/platform.h"
#include "platform/printer.h"
#include "publisher.h"

namespace velmora {

void printAndTell(Platform &platform, const std::function<void(LinePrinter &)> &draw, const QString &done)
{
    LinePrinter &printer = platform.printer();
    try {
        draw(printer);
        printer.endDoc();
    } catch (const PrintError &) {
        printer.abort();
        platform.messages().ok(kPrintProblem, kProductTitle);
        return;
    }
    platform.messages().ok(done, kProductTitle);
}

} // namespace velmora
