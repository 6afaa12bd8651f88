#pragma once

class DownloadForm;
class Form;
class InfoForm;
class ProgStartForm;
class UploadForm;

// Every form of the tool, created hidden at start-up, so forms and the
// screen refresh can reach each other's controls.
struct Screens {
    InfoForm *FnEntete = nullptr;
    InfoForm *FnEntete2 = nullptr;
    ProgStartForm *FnProgStart = nullptr;
    DownloadForm *FnDownload = nullptr;
    UploadForm *FnUPLoad = nullptr;
    Form *FnConnection = nullptr;
};
