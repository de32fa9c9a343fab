#include "results/listview/ShellFileOperation.h"

namespace results {
namespace {

class TShellFileOperation : public TFileOperation {
public:
    TFileOperationAnswer Run(HWND owner, const TFileOperationRequest& request) override {
        SHFILEOPSTRUCTW operation{};
        operation.hwnd = owner;
        operation.wFunc = request.function;
        operation.pFrom = request.from.c_str();
        operation.pTo = request.to.empty() ? nullptr : request.to.c_str();
        operation.fFlags = request.flags;
        TFileOperationAnswer answer;
        answer.result = SHFileOperationW(&operation);
        answer.aborted = operation.fAnyOperationsAborted != FALSE;
        return answer;
    }
};

} // namespace

TFileOperation& ShellFileOperation() {
    static TShellFileOperation shell;
    return shell;
}

} // namespace results
