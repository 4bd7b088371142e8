"""A WebKitGTK view in a shown window, as the native side sets it up: the page's uncaught and console
errors gather in its __pageErrors, and each text it posts to "app" goes to `on_text`."""
import json
import os
import urllib.parse

import gi

gi.require_version("Gtk", "3.0")
gi.require_version("WebKit2", "4.1")
from gi.repository import Gtk, WebKit2  # noqa: E402


def page_view(on_text, width, height):
    manager = WebKit2.UserContentManager()
    manager.add_script(WebKit2.UserScript.new(
        "window.__pageErrors = []; addEventListener('error', e => __pageErrors.push(String(e.message)));"
        " { const log = console.error; console.error = (...a) => { __pageErrors.push(a.join(' ')); log(...a); }; }",
        WebKit2.UserContentInjectedFrames.TOP_FRAME, WebKit2.UserScriptInjectionTime.START, None, None))

    def on_message(_manager, result):
        value = result.get_js_value() if hasattr(result, "get_js_value") else result  # older WebKit wraps it
        if value.is_string():
            on_text(value.to_string())

    manager.connect("script-message-received::app", on_message)
    manager.register_script_message_handler("app")
    view = WebKit2.WebView.new_with_user_content_manager(manager)
    window = Gtk.Window()
    window.set_default_size(width, height)
    window.add(view)
    window.show_all()
    return view


def page_uri(path):
    return "file://" + urllib.parse.quote(os.path.abspath(path))


def menu_states(messages):
    """The page's "menuState:" reports, decoded."""
    return [json.loads(urllib.parse.unquote(m[len("menuState:"):])) for m in messages if m.startswith("menuState:")]
