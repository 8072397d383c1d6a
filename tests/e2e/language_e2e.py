"""The real program in a language (run PATH-TO-KADENO PO-FILE, or en for English, byte for
byte), its boxes read through the accessibility tree: the first help page, the start
question, a value prompt with its number, the score and the hall of fame must be the
catalog's translations with the numbers filled in, and the self-voicing must ask the speech
service for a voice of that language.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "po"))
import kadeno_e2e  # noqa: E402
import pofile  # noqa: E402
from harness import check, key, main  # noqa: E402
from kadeno_e2e import Session  # noqa: E402

HELP_1_ID = ("  In this brief help area, if you hit yes then I   \n"
             "  will move on to the next part.  If you hit no    \n"
             "  then I will rewind to the previous part.  If     \n"
             "  you hit cancel I will abort this help dialog.    \n"
             "  You can hit Y for Yes, N for No or Escape for    \n"
             "  cancel.                                          \n")
DRUM_ID = "Drum Volume is now %1 out of 127.  Please enter the New value for Drum Volume."
PLACE_ID = "First Place, with %1 points is %2 at a difficulty level of %3"


class Catalog:
    def __init__(self, po):
        self.texts = {} if po == "en" else pofile.translations(po)
        self.language = None if po == "en" else os.path.basename(po)[:-3]

    def tr(self, msgid, *args):
        """As the program fills a message: each %N once, in one pass."""
        text = self.texts.get(msgid, msgid)
        return re.sub(r"%([1-9])", lambda m: args[int(m.group(1)) - 1]
                      if int(m.group(1)) <= len(args) else m.group(0), text)

    def said(self, msgid, *args):
        """A part of what the self-voicing says: on a line of its own, ending as a sentence."""
        text = self.tr(msgid, *args)
        return "\n" + text + ("" if text[-1:] in ".!?:" else ".")

    def item(self, caption):
        """A menu item as the accessibility tree names it: without its access key's "&"."""
        return self.tr(caption).replace("&", "")


def run(work, exe, po):
    c = Catalog(po)
    os.environ["KADENO_LANG"] = c.language or "en"
    kadeno_e2e.MAIN_TITLE = c.tr("Kadeno: Musical Tumbla")
    s = Session(exe, work, speech="on")
    yes, ok, cancel = (c.tr(b).replace("&", "") for b in ("&Yes", "OK", "Cancel"))

    def read(what, answer, title, text, said_end, **box):
        """The next box must show that title and text, and be said ending in said_end (the
        buttons, in the box's language)."""
        s.box(what, answer, said=("", said_end), shows=(title, text), **box)
    # The boxes show "\r\n" as a line end.
    read("help page 1", cancel, c.tr("Kadeno Help"), c.tr(HELP_1_ID), c.said("Yes, No, Cancel"))
    wanted = [] if c.language is None else ["SET SELF LANGUAGE " + c.language.replace("_", "-")]
    check([x for x in s.server.settings if "LANGUAGE" in x.upper()] == wanted,
          "the speech service was told %r" % s.server.settings)
    s.choose(c.item("&Midi"), c.item("Set Midi Back to Default"))
    read("the reset question", yes, "Kadeno",
         c.tr("Are you sure you want to reset all the midi settings back to factory default?"),
         c.said("Yes, No"))
    read("the reset done", ok, "Kadeno",
         c.tr("Midi settings are now as Quenloft originally made them."), c.said("OK"))
    s.choose(c.item("&Midi"), c.item("Drum Volume"))
    read("the drum volume", cancel, "Kadeno", c.tr(DRUM_ID, "100"),
         c.said("In the field: %1", "100") + c.said("OK, Cancel"), alert=False)
    s.start_game(("", c.said("Yes, No")), yes, (c.item("&File"), c.item("&Start Game")),
                 shows=(c.tr("About to start Game Play"), c.tr("Are you ready?")))
    key("s")
    read("the score", ok, "Kadeno", c.tr("Your score is %1", "0"), c.said("OK"))
    s.choose(c.item("&File"), c.item("&Hall Of Fame"))
    # The name was filed by another program in Latin-1; the box shows its odd byte as such.
    read("the hall of fame", ok, "Kadeno", c.tr("Here is the Kadeno Masters Hall of Fame:") + "\n"
         + c.tr(PLACE_ID, "1203", "An\ufffda", " 1") + "\n", c.said("OK"))
    s.quit(("", c.said("Yes, No")), yes, shows=("Kadeno", c.tr("Do you really want to quit?")))

if __name__ == "__main__":
    sys.exit(main({"run": run}))
