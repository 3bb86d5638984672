# Zarvik's releases, newest first, one "version|date|what changed" a release. The
# newest must be the project's version: the AppStream release list and the Debian
# changelog are both written from this list, and the manual pages carry its date.
set(ZARVIK_RELEASES
  "1.0.0|2026-12-06|First release: the desktop program and zarvik-convert, with a desktop entry, an icon, manual pages, shell completion and a Debian package."
)
