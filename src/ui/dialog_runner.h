#pragma once

class QDialog;

// Shows a modal sub-dialog and returns its result code. Windows open every sub-dialog through
// this seam, so that a test can fill in a dialog and press its buttons without exec().
class DialogRunner
{
public:
    virtual ~DialogRunner() = default;
    virtual int run(QDialog &dialog) = 0;
};

class ModalDialogRunner : public DialogRunner
{
public:
    int run(QDialog &dialog) override;
};
