#include "platform/cups_job.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

// The PPD interface is deprecated in libcups 2 but is still the only way to
// read a queue's driver options; it is used here and nowhere else.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

std::vector<a_job_option> Ppd_Offered_Options(const std::string& ppd_path,
                                              const std::vector<a_job_option>& wanted) {
    std::vector<a_job_option> out;
    ppd_file_t* ppd = ppdOpenFile(ppd_path.c_str());
    if (!ppd) return out;
    for (const a_job_option& w : wanted) {
        ppd_option_t* opt = ppdFindOption(ppd, w.name.c_str());
        if (!opt) continue;
        a_job_option o = w;
        if (w.ppd_choice >= 0) {
            if (w.ppd_choice >= opt->num_choices) continue;
            o.value = opt->choices[w.ppd_choice].choice;
        } else if (!ppdFindChoice(opt, w.value.c_str())) {
            continue;
        }
        o.ppd_choice = -1;
        out.push_back(o);
    }
    ppdClose(ppd);
    return out;
}

std::vector<a_job_option> Cups_Offered_Options(const std::string& queue,
                                               const std::vector<a_job_option>& wanted) {
    const char* path = cupsGetPPD(queue.c_str());
    if (!path) return {};
    std::string file = path;  // a temporary copy that is ours to remove
    std::vector<a_job_option> out = Ppd_Offered_Options(file, wanted);
    unlink(file.c_str());
    return out;
}

bool Cups_Print_File(const std::string& queue, const std::string& pdf_path, const std::string& title,
                     const std::vector<a_job_option>& options, std::string& error) {
    cups_option_t* list = nullptr;
    int n = 0;
    for (const a_job_option& o : options) n = cupsAddOption(o.name.c_str(), o.value.c_str(), n, &list);
    int id = cupsPrintFile(queue.c_str(), pdf_path.c_str(), title.c_str(), n, list);
    cupsFreeOptions(n, list);
    if (id == 0) error = cupsLastErrorString();
    return id != 0;
}
