"""The sprite sheet's artwork, one module per family of sprites (tools/gen_sprites.py draws it)."""
