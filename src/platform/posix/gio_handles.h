#pragma once

#include "platform/secret.h"

#include <gio/gio.h>

#include <memory>
#include <string>

// What GVfs work needs on both sides of the carrier: GLib objects and errors
// that free themselves, the session bus check, and a login's answer to a
// mount's question for a password.

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using GObjectPtr = std::unique_ptr<T, ObjectUnref>;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

// Whether there is a session bus. Without one GIO would start one through a
// program found on PATH, and there is no GVfs to mount with.
bool HaveSessionBus();

// Answers operation's question with user (DOMAIN\user, DOMAIN;user or user)
// and password, kept in the desktop's keyring for later only with save.
void AnswerWithLogin(GMountOperation* operation, const std::string& user, const Secret& password, bool save);
