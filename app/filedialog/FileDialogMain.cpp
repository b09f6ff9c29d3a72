// mes-file-dialog: the desktop's file chooser (GTK 3, GtkFileChooserNative, which goes through
// the XDG desktop portal where one runs) and message box for the editor, in a process of its own
// so that GTK's event loop, locale and display connection never meet SDL's inside the editor.
//
//   mes-file-dialog open|save --title TITLE [--filter LABEL GLOB]... [--file PATH]
//       [--folder DIR] [--must-exist] [--confirm-overwrite] [--accept LABEL] [--cancel LABEL]
//       [--parent XID]
//   mes-file-dialog info|error --title TITLE --text TEXT [--accept LABEL] [--parent XID]
//   mes-file-dialog question --title TITLE --text TEXT --accept LABEL --cancel LABEL
//       [--parent XID]    (exit status 0 when accepted, 1 otherwise)
//
// The first filter is selected. --file is the file offered (Save) and --folder where to start.
// --parent is the editor's X11 window (hex or decimal): the dialog stays above it.
// A file dialog prints the chosen path and a line end on standard output. Exit status: 0 a file
// was chosen (or the message was seen), 1 cancelled, 2 bad arguments, 3 no dialog can be shown
// (no display).
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Options {
    enum Kind { Open, Save, Info, Error, Warning, Question };
    Kind kind = Open;
    bool save = false;
    std::string title;
    std::string text;
    std::vector<std::pair<std::string, std::string>> filters;  // label, glob
    std::string file;
    std::string folder;
    bool mustExist = false;
    bool confirmOverwrite = false;
    std::string accept;
    std::string cancel;
    unsigned long parent = 0;
};

bool parse(int argc, char** argv, Options& o) {
    if (argc < 2)
        return false;
    const std::string mode = argv[1];
    if (mode == "open" || mode == "save") {
        o.kind = mode == "save" ? Options::Save : Options::Open;
    } else if (mode == "info" || mode == "error" || mode == "warning") {
        o.kind = mode == "info"    ? Options::Info
                 : mode == "error" ? Options::Error
                                   : Options::Warning;
    } else if (mode == "question") {
        o.kind = Options::Question;
    } else {
        return false;
    }
    o.save = o.kind == Options::Save;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc)
                return false;
            into = argv[++i];
            return true;
        };
        if (a == "--title") {
            if (!value(o.title))
                return false;
        } else if (a == "--filter") {
            if (i + 2 >= argc)
                return false;
            o.filters.emplace_back(argv[i + 1], argv[i + 2]);
            i += 2;
        } else if (a == "--text") {
            if (!value(o.text))
                return false;
        } else if (a == "--file") {
            if (!value(o.file))
                return false;
        } else if (a == "--folder") {
            if (!value(o.folder))
                return false;
        } else if (a == "--accept") {
            if (!value(o.accept))
                return false;
        } else if (a == "--cancel") {
            if (!value(o.cancel))
                return false;
        } else if (a == "--parent") {
            std::string text;
            if (!value(text))
                return false;
            o.parent = std::strtoul(text.c_str(), nullptr, 0);
        } else if (a == "--must-exist") {
            o.mustExist = true;
        } else if (a == "--confirm-overwrite") {
            o.confirmOverwrite = true;
        } else {
            return false;
        }
    }
    return true;
}

// Keeps a window inside the screen's work area: a first run remembers no dialog size, and a
// small screen (or one without a window manager to fit it) would cut the buttons off.
void fitOnScreen(GtkWindow* window) {
    GdkWindow* gdkWindow = gtk_widget_get_window(GTK_WIDGET(window));
    GdkDisplay* display = gtk_widget_get_display(GTK_WIDGET(window));
    GdkMonitor* monitor = gdkWindow ? gdk_display_get_monitor_at_window(display, gdkWindow)
                                    : gdk_display_get_primary_monitor(display);
    if (monitor == nullptr)
        return;
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    int w = 0, h = 0;
    gtk_window_get_size(window, &w, &h);
    const int maxW = area.width * 9 / 10, maxH = area.height * 9 / 10;
    if (w > maxW || h > maxH)
        gtk_window_resize(window, std::min(w, maxW), std::min(h, maxH));
}

// Runs as an emission hook of "map" for every window of this program, when the window exists
// but is not on screen yet: fits it on the screen and keeps it above the editor's window (the
// window manager sees the parent from the start).
gboolean onMap(GSignalInvocationHint*, guint count, const GValue* params, gpointer data) {
    GObject* object = count > 0 ? static_cast<GObject*>(g_value_get_object(&params[0])) : nullptr;
    if (object == nullptr || !GTK_IS_WINDOW(object))
        return TRUE;
    fitOnScreen(GTK_WINDOW(object));
#ifdef GDK_WINDOWING_X11
    const unsigned long parent = *static_cast<unsigned long*>(data);
    if (parent != 0) {
        GdkWindow* window = gtk_widget_get_window(GTK_WIDGET(object));
        GdkDisplay* display = window ? gdk_window_get_display(window) : nullptr;
        if (display != nullptr && GDK_IS_X11_DISPLAY(display)) {
            if (GdkWindow* editor = gdk_x11_window_foreign_new_for_display(display, parent)) {
                gdk_window_set_transient_for(window, editor);
                g_object_unref(editor);
            }
        }
    }
#endif
    return TRUE;
}

struct Run {
    GMainLoop* loop = nullptr;
    gint response = GTK_RESPONSE_CANCEL;
};

void onResponse(GtkNativeDialog*, gint response, gpointer data) {
    auto* run = static_cast<Run*>(data);
    run->response = response;
    g_main_loop_quit(run->loop);
}

// A message with one button; GTK lays out Thai text properly, which SDL's X11 box cannot.
int showMessage(const Options& o) {
    const GtkMessageType type = o.kind == Options::Error  ? GTK_MESSAGE_ERROR
                                : o.kind == Options::Info ? GTK_MESSAGE_INFO
                                                          : GTK_MESSAGE_WARNING;
    GtkWidget* box = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, type, GTK_BUTTONS_NONE, "%s",
                                            o.title.c_str());
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(box), "%s", o.text.c_str());
    gtk_window_set_title(GTK_WINDOW(box), o.title.c_str());
    // A question's cancelling button comes first, so that the accepting one ends the row.
    if (o.kind == Options::Question)
        gtk_dialog_add_button(GTK_DIALOG(box), o.cancel.empty() ? "Cancel" : o.cancel.c_str(),
                              GTK_RESPONSE_CANCEL);
    gtk_dialog_add_button(GTK_DIALOG(box), o.accept.empty() ? "OK" : o.accept.c_str(),
                          GTK_RESPONSE_OK);
    // Return answers the question with its safe button.
    gtk_dialog_set_default_response(
        GTK_DIALOG(box), o.kind == Options::Question ? GTK_RESPONSE_CANCEL : GTK_RESPONSE_OK);
    const gint response = gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    return o.kind == Options::Question && response != GTK_RESPONSE_OK ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (!parse(argc, argv, o)) {
        std::fprintf(stderr,
                     "usage: mes-file-dialog open|save --title TITLE [--filter LABEL GLOB]... "
                     "[--file PATH] [--folder DIR] [--must-exist] [--confirm-overwrite] "
                     "[--accept LABEL] [--cancel LABEL] [--parent XID]\n"
                     "       mes-file-dialog info|error|warning --title TITLE --text TEXT "
                     "[--accept LABEL] [--parent XID]\n"
                     "       mes-file-dialog question --title TITLE --text TEXT --accept LABEL "
                     "--cancel LABEL [--parent XID]\n");
        return 2;
    }
    // Our arguments are not GTK's: nothing is handed to its option parser.
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "mes-file-dialog: cannot open display\n");
        return 3;
    }

    g_signal_add_emission_hook(g_signal_lookup("map", GTK_TYPE_WIDGET), 0, onMap, &o.parent,
                               nullptr);
    if (o.kind != Options::Open && o.kind != Options::Save)
        return showMessage(o);

    const GtkFileChooserAction action =
        o.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN;
    GtkFileChooserNative* dialog = gtk_file_chooser_native_new(
        o.title.c_str(), nullptr, action, o.accept.empty() ? nullptr : o.accept.c_str(),
        o.cancel.empty() ? nullptr : o.cancel.c_str());
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_local_only(chooser, TRUE);
    gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(dialog), TRUE);

    GtkFileFilter* first = nullptr;
    for (const auto& f : o.filters) {
        GtkFileFilter* filter = gtk_file_filter_new();
        gtk_file_filter_set_name(filter, f.first.c_str());
        gtk_file_filter_add_pattern(filter, f.second.c_str());
        gtk_file_chooser_add_filter(chooser, filter);  // the chooser takes the reference
        if (first == nullptr)
            first = filter;
    }
    if (first != nullptr)
        gtk_file_chooser_set_filter(chooser, first);

    if (o.save) {
        gtk_file_chooser_set_do_overwrite_confirmation(chooser, o.confirmOverwrite);
        if (!o.file.empty() && g_file_test(o.file.c_str(), G_FILE_TEST_IS_REGULAR)) {
            gtk_file_chooser_set_filename(chooser, o.file.c_str());
        } else {
            if (!o.folder.empty())
                gtk_file_chooser_set_current_folder(chooser, o.folder.c_str());
            if (!o.file.empty()) {
                gchar* name = g_path_get_basename(o.file.c_str());
                gtk_file_chooser_set_current_name(chooser, name);
                g_free(name);
            }
        }
    } else if (!o.folder.empty()) {
        gtk_file_chooser_set_current_folder(chooser, o.folder.c_str());
    }

    Run run;
    run.loop = g_main_loop_new(nullptr, FALSE);
    g_signal_connect(dialog, "response", G_CALLBACK(onResponse), &run);
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(dialog));
    g_main_loop_run(run.loop);
    g_main_loop_unref(run.loop);

    int status = 1;
    if (run.response == GTK_RESPONSE_ACCEPT) {
        if (gchar* path = gtk_file_chooser_get_filename(chooser)) {
            // An open dialog shows existing files only; a name typed there may still be gone.
            if (o.save || !o.mustExist || g_file_test(path, G_FILE_TEST_EXISTS)) {
                std::printf("%s\n", path);
                status = 0;
            }
            g_free(path);
        }
    }
    g_object_unref(dialog);
    std::fflush(stdout);
    return status;
}
