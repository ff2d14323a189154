# Writes the samples of layouts that R cannot print itself: Stata's
# `matrix list e(V)`, SPSS's coefficient correlations table, and the tables
# a spreadsheet copies. They are NOT output of Stata, SPSS or a spreadsheet:
# they follow the layouts those programs document (Stata's [P] matrix list and
# [U] 14.2 on row and column names; SPSS's Coefficient Correlations table),
# filled with the numbers of R's fits in tests/data/r_fits.R, so that the
# tests can check them against R's own numbers. Every file starts with lines
# "# ..." that say so; the test reads the text after them.
#
# Run from the top of the source tree:
#   Rscript tests/data/matrices/imitate_layouts.R

source("tests/data/r_fits.R")
out <- "tests/data/matrices"
fits <- marvane_fits()

write_sample <- function(file, comment, lines) {
  writeLines(c(paste("#", comment), lines), file.path(out, file))
}

# ---- Stata ---------------------------------------------------------------
# Stata's %10.0g as matrix list shows it: up to 8 significant digits in fixed
# form without the leading zero (.00212213, -.0102), exponent form with four
# digits below 1e-4 (-1.234e-07), 0 for zero.
stata_g <- function(x) {
  if (x == 0) return("0")
  if (abs(x) < 1e-4) return(sprintf("%.3e", x))
  for (d in 8:1) {
    s <- formatC(signif(x, d), digits = d, format = "fg")
    s <- sub("^(-?)0\\.", "\\1.", s)
    s <- trimws(s)
    if (nchar(s) <= 10) return(s)
  }
  s
}

# A column name as Stata's header shows it: a product broken after each '#',
# a factor level's prefix ("1b.") on a line of its own.
header_pieces <- function(name) {
  if (grepl("#", name)) {
    parts <- strsplit(name, "#", fixed = TRUE)[[1]]
    c(paste0(parts[-length(parts)], "#"), parts[length(parts)])
  } else if (grepl("^[0-9]+[bno]*\\.", name)) {
    dot <- regexpr(".", name, fixed = TRUE)
    c(substr(name, 1, dot), substr(name, dot + 1, nchar(name)))
  } else {
    name
  }
}

# The lower triangle in column blocks of 12 characters that fit in 80, a
# blank line between blocks, the header lines of each block bottom-aligned.
stata_layout <- function(v, names) {
  p <- length(names)
  label <- max(nchar(names)) + 1
  per_block <- max(1, (80 - label) %/% 12)
  lines <- sprintf("symmetric e(V)[%d,%d]", p, p)
  starts <- seq(1, p, by = per_block)
  for (b in seq_along(starts)) {
    cols <- starts[b]:min(p, starts[b] + per_block - 1)
    pieces <- lapply(names[cols], header_pieces)
    depth <- max(lengths(pieces))
    if (b > 1) lines <- c(lines, "")
    for (h in seq_len(depth)) {
      cells <- vapply(pieces, function(pc) {
        k <- h - (depth - length(pc))
        if (k >= 1) pc[k] else ""
      }, "")
      lines <- c(lines, sub(" +$", "", paste0(strrep(" ", label), paste(sprintf("%12s", cells), collapse = ""))))
    }
    for (i in cols[1]:p) {
      shown <- cols[cols <= i]
      nums <- vapply(shown, function(j) stata_g(v[i, j]), "")
      lines <- c(lines, paste0(sprintf("%*s", label, names[i]), paste(sprintf("%12s", nums), collapse = "")))
    }
  }
  lines
}

# The R fit's covariance matrix in Stata's order and names; base terms get
# rows and columns of zeros.
stata_matrix <- function(fit, stata_names, r_names) {
  v0 <- vcov(fit)
  p <- length(stata_names)
  v <- matrix(0, p, p)
  for (i in seq_len(p)) for (j in seq_len(p)) {
    if (!is.na(r_names[i]) && !is.na(r_names[j])) v[i, j] <- v0[r_names[i], r_names[j]]
  }
  v
}

stata_sample <- function(file, what, fit, stata_names, r_names) {
  v <- stata_matrix(fit, stata_names, r_names)
  write_sample(file, paste("Imitates Stata's `matrix list e(V)` after", what,
                           "(not made by Stata; numbers of R's fit)."),
               stata_layout(v, stata_names))
}

stata_sample("stata_quant.txt", "regress mpg c.x##c.z", fits$Quant$fit,
             c("x", "z", "c.x#c.z", "_cons"), c("x", "z", "x:z", "(Intercept)"))
# Longer names, so that the products break over the header lines and the
# eight columns take two blocks.
stata_sample("stata_quant3.txt", "regress fertility c.agri##c.educ##c.cath", fits$Quant3$fit,
             c("agri", "educ", "c.agri#c.educ", "cath", "c.agri#c.cath", "c.educ#c.cath",
               "c.agri#c.educ#c.cath", "_cons"),
             c("x", "z", "x:z", "v", "x:v", "z:v", "x:z:v", "(Intercept)"))
# A factor: the base level's rows and columns are zeros (1b.species and the
# omitted 1b.species#co.x), which the reader drops.
stata_sample("stata_mixed3.txt", "regress sepal_length c.x##i.species", fits$Mixed3$fit,
             c("x", "1b.species", "2.species", "3.species", "1b.species#co.x", "2.species#c.x",
               "3.species#c.x", "_cons"),
             c("x", NA, "Speciesversicolor", "Speciesvirginica", NA, "x:Speciesversicolor",
               "x:Speciesvirginica", "(Intercept)"))
stata_sample("stata_incomplete.txt", "regress mpg c.x##c.z t1 i.t2", fits$Incomplete$fit,
             c("x", "z", "c.x#c.z", "t1", "0b.t2", "1.t2", "_cons"),
             c("x", "z", "x:z", "t1", NA, "t2", "(Intercept)"))

# ---- SPSS ----------------------------------------------------------------
# SPSS's Coefficient Correlations table as it is copied from the output
# viewer (cells separated by tabs): the weights in reverse order of entry,
# no constant, a Correlations block over a Covariances block, three decimals
# and E notation for small numbers (.012, -1.234E-5).
spss_num <- function(x, decimals = 3) {
  if (x != 0 && abs(x) < 0.5 * 10^-decimals) {
    s <- sprintf("%.3E", x)
    s <- sub("E([+-])0*([0-9])", "E\\1\\2", s)
    return(sub("E\\+", "E", s))
  }
  s <- sprintf(paste0("%.", decimals, "f"), x)
  sub("^(-?)0\\.", "\\1.", s)
}

spss_table <- function(v, names, sep) {
  p <- length(names)
  rev_names <- rev(names)
  rv <- v[rev(seq_len(p)), rev(seq_len(p))]
  r <- cov2cor(rv)
  lines <- c("Coefficient Correlations^a", paste(c("Model", "", "", rev_names), collapse = sep))
  for (i in seq_len(p)) {
    lead <- if (i == 1) c("1", "Correlations") else c("", "")
    lines <- c(lines, paste(c(lead, rev_names[i], vapply(r[i, ], spss_num, "")), collapse = sep))
  }
  for (i in seq_len(p)) {
    lead <- if (i == 1) c("", "Covariances") else c("", "")
    lines <- c(lines, paste(c(lead, rev_names[i], vapply(rv[i, ], spss_num, "")), collapse = sep))
  }
  c(lines, "a. Dependent Variable: mpg")
}

vq <- vcov(fits$Quant$fit)[c("x", "z", "x:z"), c("x", "z", "x:z")]
write_sample("spss_quant.txt",
             "Imitates SPSS's Coefficient Correlations table, copied as tab-separated text (not made by SPSS; numbers of R's fit, entered X, Z, XZ).",
             spss_table(vq, c("X", "Z", "XZ"), "\t"))
# With more decimals (as after a change of the cell format), blank-separated
# as in a plain-text export.
vq3 <- vcov(fits$Quant3$fit)[-1, -1]
spss_nums6 <- function(x) spss_num(x, 6)
spss_table6 <- function(v, names) {
  p <- length(names)
  rev_names <- rev(names)
  rv <- v[rev(seq_len(p)), rev(seq_len(p))]
  r <- cov2cor(rv)
  lines <- c("Coefficient Correlations(a)", paste(c("Model", rev_names), collapse = "   "))
  for (i in seq_len(p)) {
    lead <- if (i == 1) "1 Correlations " else "               "
    lines <- c(lines, paste0(lead, paste(c(rev_names[i], vapply(r[i, ], spss_num, "")), collapse = "  ")))
  }
  for (i in seq_len(p)) {
    lead <- if (i == 1) "  Covariances  " else "               "
    lines <- c(lines, paste0(lead, paste(c(rev_names[i], vapply(rv[i, ], spss_nums6, "")), collapse = "  ")))
  }
  c(lines, "a Dependent Variable: FERTILITY")
}
write_sample("spss_quant3_text.txt",
             "Imitates SPSS's Coefficient Correlations table in a plain-text export, blanks between cells, six decimals (not made by SPSS; numbers of R's fit, entered X, Z, V, XZ, XV, ZV, XZV).",
             spss_table6(vq3, c("X", "Z", "V", "XZ", "XV", "ZV", "XZV")))

# ---- Spreadsheets and bare numbers -------------------------------------------
v4 <- vcov(fits$Quant$fit)
n4 <- c("(Intercept)", "x", "z", "x:z")
num15 <- function(x) formatC(x, digits = 15, format = "g")
table_lines <- function(v, names, sep, corner = "", num = num15) {
  c(paste(c(corner, names), collapse = sep),
    vapply(seq_len(nrow(v)), function(i) paste(c(names[i], vapply(v[i, ], num, "")), collapse = sep), ""))
}
bare_lines <- function(v, sep, lower = FALSE, num = num15) {
  vapply(seq_len(nrow(v)), function(i) {
    js <- if (lower) seq_len(i) else seq_len(ncol(v))
    paste(vapply(v[i, js], num, ""), collapse = sep)
  }, "")
}
write_sample("sheet_quant_names.tsv",
             "A spreadsheet's copy: names in the first row and column, the corner empty, tabs (made by this script, numbers of R's fit).",
             table_lines(v4, n4, "\t"))
write_sample("sheet_quant_names.csv",
             "A spreadsheet's comma-separated export: names unquoted, a corner label (made by this script, numbers of R's fit).",
             table_lines(v4, n4, ",", corner = "term"))
write_sample("sheet_quant_bare.tsv",
             "A spreadsheet's copy of the numbers alone, tabs (made by this script, numbers of R's fit).",
             bare_lines(v4, "\t"))
comma_num <- function(x) chartr(".", ",", formatC(x, digits = 15, format = "g"))
write_sample("sheet_quant_comma_decimals.tsv",
             "A spreadsheet's copy under a decimal-comma locale: tabs, decimal commas (made by this script, numbers of R's fit).",
             table_lines(v4, c("Konstante", "x", "z", "x:z"), "\t", num = comma_num))
write_sample("bare_quant_full.txt",
             "Bare numbers, the full matrix row by row, blanks between (made by this script, numbers of R's fit).",
             bare_lines(v4, "  "))
write_sample("bare_quant_lower.txt",
             "Bare numbers, the lower triangle row by row (made by this script, numbers of R's fit).",
             bare_lines(v4, " ", lower = TRUE))
write_sample("bare_quant_commas.txt",
             "Bare numbers separated by a comma and a blank (made by this script, numbers of R's fit).",
             bare_lines(v4, ", "))
write_sample("bare_quant_lower_tabs.txt",
             "Bare numbers, the lower triangle, tabs (made by this script, numbers of R's fit).",
             bare_lines(v4, "\t", lower = TRUE))
