IDtoFile.txt out.rsrc out.res: \
  list.json \
  images/icon.png \
  art/logo.svg

list.json:

images/icon.png:

art/logo.svg:
