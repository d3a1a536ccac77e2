old header
