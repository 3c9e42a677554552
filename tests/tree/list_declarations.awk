# Lists the functions and variables a C++ header declares at namespace scope
# without defining them: one line each, "function NAME" or "variable NAME",
# NAME qualified by its namespaces. Definitions (bodies in braces), types,
# constants, templates and file-local (static, inline, constexpr) names are
# left out. Enough C++ for the headers of this tree: comments, preprocessor
# lines and literals are skipped, braces are matched.
#
# Usage: awk -f list_declarations.awk header.h
{ text = text $0 "\n" }

function trim(s) {
  gsub(/[ \t\n]+/, " ", s)
  sub(/^ /, "", s)
  sub(/ $/, "", s)
  return s
}

function qualified(name,    i, q) {
  q = ""
  for (i = 1; i <= depth; i++) if (scope[i] != "") q = q scope[i] "::"
  return q name
}

function statement(s,    head, name, open, before) {
  s = trim(s)
  if (s == "") return
  sub(/^extern "C" /, "", s)
  if (s ~ /^(typedef|using|static_assert|template|friend|static|inline|constexpr|struct|class|enum|union|namespace|return)[ (<]/) return
  open = index(s, "(")
  if (open > 0 && (index(s, "=") == 0 || index(s, "=") > open)) {
    before = substr(s, 1, open - 1)
    sub(/ $/, "", before)
    if (match(before, /[A-Za-z_][A-Za-z_0-9]*$/)) {
      print "function " qualified(substr(before, RSTART))
    } else if (match(substr(s, open), /^\( ?\* ?[A-Za-z_][A-Za-z_0-9]*/)) {
      # A pointer to a function: a variable.
      name = substr(s, open, RLENGTH)
      sub(/^\( ?\* ?/, "", name)
      if (s ~ /^extern /) print "variable " qualified(name)
    }
    return
  }
  if (s !~ /^extern /) return
  sub(/ ?=.*/, "", s)
  sub(/ ?\[.*/, "", s)
  if (match(s, /[A-Za-z_][A-Za-z_0-9]*$/)) print "variable " qualified(substr(s, RSTART))
}

END {
  n = length(text)
  buffer = ""
  depth = 0
  lineStart = 1
  for (i = 1; i <= n; i++) {
    c = substr(text, i, 1)
    d = substr(text, i, 2)
    if (d == "//") { while (i <= n && substr(text, i, 1) != "\n") i++; c = "\n" }
    else if (d == "/*") { i += 2; while (i < n && substr(text, i, 2) != "*/") i++; i++; c = " " }
    else if (c == "#" && lineStart) {
      # A preprocessor line, with its continuations.
      while (i <= n && !(substr(text, i, 1) == "\n" && substr(text, i - 1, 1) != "\\")) i++
      c = "\n"
    } else if (c == "\"" || c == "'") {
      quote = c
      buffer = buffer c
      for (i++; i <= n && substr(text, i, 1) != quote; i++) {
        if (substr(text, i, 1) == "\\") { buffer = buffer substr(text, i, 2); i++ }
        else buffer = buffer substr(text, i, 1)
      }
      buffer = buffer quote
      lineStart = 0
      continue
    }
    if (c == "\n") { lineStart = 1; buffer = buffer " "; continue }
    if (c != " " && c != "\t") lineStart = 0
    if (c == "{") {
      head = trim(buffer)
      if (head ~ /^namespace( [A-Za-z_0-9:]+)?$/) {
        scope[++depth] = substr(head, 11)
      } else if (head == "extern \"C\"") {
        scope[++depth] = ""
      } else {
        # A body: skip to its closing brace; what was before it is a
        # definition.
        level = 1
        for (i++; i <= n && level > 0; i++) {
          c = substr(text, i, 1)
          if (c == "{") level++
          else if (c == "}") level--
        }
        i--
      }
      buffer = ""
    } else if (c == "}") {
      if (depth > 0) depth--
      buffer = ""
    } else if (c == ";") {
      statement(buffer)
      buffer = ""
    } else {
      buffer = buffer c
    }
  }
}
