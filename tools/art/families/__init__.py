"""Every frame family of the game; importing this package registers them all
with the registry, in the order below (the first matching pattern wins)."""

from . import rats, effects, menus, screens, traps, boss, elements  # noqa: F401
