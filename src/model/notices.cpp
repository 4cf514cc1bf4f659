#include "model/notices.h"

a_doc_notices g_doc_notices;
a_doc_services g_doc_services;
