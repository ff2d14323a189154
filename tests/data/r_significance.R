# Prints the reference numbers of the significance tables for the fits of
# r_fits.R into r_significance.txt, which inference_test.cpp reads:
#   Rscript r_significance.R > r_significance.txt    (run in tests/data)
# Every number comes from emmeans: emtrends for the simple slopes, emmeans
# at x = 0 for the intercepts and at x = -stdx, +stdx for the predicted
# values, pairs() for the differences; at two confidence levels, with the
# fit's residual df (t) and with df = Inf (normal).
#
# Line format, fields separated by one blank, numbers with 17 significant
# digits:
#   form <form>                      starts a fit; then its inputs:
#   df <df>
#   stdx|stdz|stdv <value>
#   zvalues <z1> <z2> <z3>           QuantZ's typed moderator values
#   held <v1> ...                    Incomplete's control values
#   weight <box> <value>             in the form's order of weights
#   vcov <box> <row of V>            in the same order
#   slope|intercept <form> <t|z> <level> <k> <estimate> <SE> <stat> <p> <lower> <upper>
#   point <form> <t|z> <level> <k> <x> <estimate> <SE> <stat> <p> <lower> <upper>
#   slopediff|interceptdiff <form> <t|z> <level> <k> <l> <estimate> <SE> <stat> <p> <p Holm> <lower> <upper>
#   critical <t|z> <df> <level> <value>
#   twosided <t|z> <df> <stat> <p>
# Lines are numbered from 1 in the form's order; a difference is line k
# minus line l, k < l.

suppressPackageStartupMessages(library(emmeans))
source("r_fits.R")

num <- function(x) sprintf("%.17g", x)
out <- function(...) cat(paste(c(...), collapse = " "), "\n", sep = "")

fits <- marvane_fits()

# Each form's lines: the reference grid of the moderators (`at`), the
# formula that spans it, and the grid rows in the form's line order; and the
# lines' coefficient vectors over the weights, to check the grid's order.
line_grid <- function(f) {
  switch(f$form,
    Quant = ,
    QuantZ = list(spec = ~ z, at = list(z = f$zvalues), order = 1:3,
                  L = lapply(f$zvalues, function(z) c(0, 1, 0, z)),
                  M = lapply(f$zvalues, function(z) c(1, 0, z, 0))),
    Mixed2 = list(spec = ~ g, at = list(g = c(1, 0)), order = 1:2,
                  L = list(c(0, 1, 0, 1), c(0, 1, 0, 0)),
                  M = list(c(1, 0, 1, 0), c(1, 0, 0, 0))),
    # Species levels are setosa, versicolor, virginica; the form's lines are
    # versicolor (DC1), virginica (DC2), setosa (contrast).
    Mixed3 = list(spec = ~ Species, at = list(), order = c(2, 3, 1),
                  L = list(c(0, 1, 0, 0, 1, 0), c(0, 1, 0, 0, 0, 1), c(0, 1, 0, 0, 0, 0)),
                  M = list(c(1, 0, 1, 0, 0, 0), c(1, 0, 0, 1, 0, 0), c(1, 0, 0, 0, 0, 0))),
    # The grid varies z fastest: (+z,+v), (-z,+v), (+z,-v), (-z,-v); the
    # form's order is (+,+), (+,-), (-,+), (-,-).
    Quant3 = {
      zv <- list(c(1, 1), c(1, -1), c(-1, 1), c(-1, -1))
      list(spec = ~ z * v, at = list(z = c(f$stdz, -f$stdz), v = c(f$stdv, -f$stdv)), order = c(1, 3, 2, 4),
           L = lapply(zv, function(s) { z <- s[1] * f$stdz; v <- s[2] * f$stdv; c(0, 1, 0, 0, z, v, 0, z * v) }),
           M = lapply(zv, function(s) { z <- s[1] * f$stdz; v <- s[2] * f$stdv; c(1, 0, z, v, 0, 0, z * v, 0) }))
    },
    Incomplete = {
      z <- c(f$stdz, 0, -f$stdz)
      list(spec = ~ z, at = list(z = z, t1 = f$held[1], t2 = f$held[2]), order = 1:3,
           L = lapply(z, function(zz) c(0, 1, 0, zz, 0, 0)),
           M = lapply(z, function(zz) c(1, 0, zz, 0, f$held)))
    })
}

# Columns of a summary by role, whatever emmeans names them (x.trend or
# emmean, t.ratio or z.ratio, lower.CL or asymp.LCL).
columns <- function(s) {
  s <- as.data.frame(s)
  pick <- function(pattern) {
    i <- grep(pattern, names(s))
    if (length(i) != 1) stop("no single column ", pattern, " among ", paste(names(s), collapse = ", "))
    s[[i]]
  }
  list(est = pick("^(x\\.trend|emmean|estimate)$"), se = pick("^SE$"), stat = pick("^[tz]\\.ratio$"),
       p = pick("^p\\.value$"), lower = pick("^(lower\\.CL|asymp\\.LCL)$"),
       upper = pick("^(upper\\.CL|asymp\\.UCL)$"))
}

# Checks that the grid rows are the form's lines: the estimates and SEs must
# be the plain combinations of the weights.
check_rows <- function(cols, coef_list, f, what) {
  est <- sapply(coef_list, function(c) sum(c * f$weights))
  se <- sapply(coef_list, function(c) sqrt(drop(t(c) %*% f$vcov %*% c)))
  if (max(abs(cols$est - est) / pmax(abs(est), 1e-300)) > 1e-10 ||
      max(abs(cols$se - se) / se) > 1e-10) {
    stop(f$form, ": the ", what, " of emmeans are not the form's lines in the form's order")
  }
}

set_df <- function(obj, ref) if (ref == "z") update(obj, df = Inf) else obj

print_lines <- function(tag, f, ref, level, grid, coef_list) {
  cols <- columns(summary(set_df(grid, ref), infer = c(TRUE, TRUE), level = level, adjust = "none"))
  check_rows(cols, coef_list, f, tag)
  for (k in seq_along(cols$est)) {
    out(tag, f$form, ref, num(level), k, num(cols$est[k]), num(cols$se[k]), num(cols$stat[k]), num(cols$p[k]),
        num(cols$lower[k]), num(cols$upper[k]))
  }
}

# pairs() of a grid in the form's line order gives line k minus line l for
# k < l in the order (1,2), (1,3), ..., (2,3), ...; its Holm adjustment also
# widens the intervals (Bonferroni), so the intervals and the plain p come
# from the unadjusted summary and only p Holm from the adjusted one.
print_pairs <- function(tag, f, ref, level, grid, coef_list) {
  pr <- set_df(pairs(grid), ref)
  plain <- columns(summary(pr, infer = c(TRUE, TRUE), level = level, adjust = "none"))
  holm <- columns(summary(pr, infer = c(TRUE, TRUE), level = level, adjust = "holm"))
  n <- length(coef_list)
  kl <- list()
  for (k in seq_len(n - 1)) for (l in (k + 1):n) kl[[length(kl) + 1]] <- c(k, l)
  check_rows(plain, lapply(kl, function(p) coef_list[[p[1]]] - coef_list[[p[2]]]), f, tag)
  for (i in seq_along(kl)) {
    out(tag, f$form, ref, num(level), kl[[i]][1], kl[[i]][2], num(plain$est[i]), num(plain$se[i]),
        num(plain$stat[i]), num(plain$p[i]), num(holm$p[i]), num(plain$lower[i]), num(plain$upper[i]))
  }
}

for (f in fits) {
  out("form", f$form)
  out("df", num(f$df))
  for (name in c("stdx", "stdz", "stdv")) if (!is.null(f[[name]])) out(name, num(f[[name]]))
  if (f$form == "QuantZ") out("zvalues", num(f$zvalues))
  if (!is.null(f$held)) out("held", num(f$held))
  for (b in names(f$weights)) out("weight", b, num(f$weights[[b]]))
  for (b in names(f$weights)) out("vcov", b, num(f$vcov[b, ]))

  g <- line_grid(f)
  x_at <- c(-f$stdx, f$stdx)
  slopes <- emtrends(f$fit, g$spec, var = "x", at = g$at)[g$order]
  # emmeans notes that x interacts with the moderators; it is held at 0 on
  # purpose.
  intercepts <- suppressMessages(emmeans(f$fit, g$spec, at = c(g$at, list(x = 0))))[g$order]
  # Two rows per line, x varying fastest: -stdx, then +stdx.
  points <- emmeans(f$fit, update(g$spec, ~ x * .), at = c(g$at, list(x = x_at)))
  points <- points[as.vector(rbind(2 * g$order - 1, 2 * g$order))]
  point_coefs <- unlist(lapply(seq_along(g$L), function(k) lapply(x_at, function(x) g$M[[k]] + x * g$L[[k]])),
                        recursive = FALSE)

  for (ref in c("t", "z")) {
    for (level in c(0.95, 0.90)) {
      print_lines("slope", f, ref, level, slopes, g$L)
      print_lines("intercept", f, ref, level, intercepts, g$M)
      cols <- columns(summary(set_df(points, ref), infer = c(TRUE, TRUE), level = level))
      check_rows(cols, point_coefs, f, "point")
      for (i in seq_along(cols$est)) {
        out("point", f$form, ref, num(level), (i + 1) %/% 2, num(x_at[2 - i %% 2]), num(cols$est[i]),
            num(cols$se[i]), num(cols$stat[i]), num(cols$p[i]), num(cols$lower[i]), num(cols$upper[i]))
      }
      print_pairs("slopediff", f, ref, level, slopes, g$L)
      print_pairs("interceptdiff", f, ref, level, intercepts, g$M)
    }
  }
}

# The reference distributions themselves, down in the far tail where
# 1 - cdf would leave nothing. The critical values come from the upper tail
# (1 - level) / 2 itself: 1 - (1 - level) / 2 rounded to a double would move
# the tail by up to 1e-10 relative at level 0.999999. R's pnorm gives 0
# where the tail is below the smallest normal double (about 2.2e-308).
for (df in c(1, 5, 28, 144, 1e6)) {
  for (level in c(0.5, 0.9, 0.95, 0.99, 0.999999)) out("critical", "t", num(df), num(level), num(qt((1 - level) / 2, df, lower.tail = FALSE)))
  for (stat in c(0, 0.5, -2, 7.5, 40, -1e4, 1e150)) out("twosided", "t", num(df), num(stat), num(2 * pt(abs(stat), df, lower.tail = FALSE)))
}
for (level in c(0.5, 0.9, 0.95, 0.99, 0.999999)) out("critical", "z", 0, num(level), num(qnorm((1 - level) / 2, lower.tail = FALSE)))
for (stat in c(0, 0.5, -2, 7.5, 20, 38, -38.5)) out("twosided", "z", 0, num(stat), num(2 * pnorm(abs(stat), lower.tail = FALSE)))
