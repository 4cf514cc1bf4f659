// Job options of a CUPS queue, which the toolkit's print support cannot
// pass: the queue's PPD says which options and values it offers, and a
// file printed through libcups carries them with the job.
// Process-wide state: none (the CUPS server of the environment).
#pragma once
#include <string>
#include <vector>

struct a_job_option {
    std::string name, value;
    int ppd_choice = -1;  // >= 0: the PPD's n-th choice of the option instead of `value`
};

// The options among `wanted` that the PPD file offers with that value (a
// choice by number becomes that choice's name); the rest are left out.
std::vector<a_job_option> Ppd_Offered_Options(const std::string& ppd_path,
                                              const std::vector<a_job_option>& wanted);
// The same for a queue's PPD; none when the queue has no PPD.
std::vector<a_job_option> Cups_Offered_Options(const std::string& queue,
                                               const std::vector<a_job_option>& wanted);
// Prints a PDF file on the queue with the options; false with the server's
// message in `error` when the job was refused.
bool Cups_Print_File(const std::string& queue, const std::string& pdf_path, const std::string& title,
                     const std::vector<a_job_option>& options, std::string& error);
