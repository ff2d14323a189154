# Reference numbers for the lines the plot window shows at moderator values
# the user chooses ("mean +- k SD" around typed means, "typed values", or "as
# on the form"), for regions with observed ranges and for regions that
# control the false-discovery rate, on UNCENTRED fits of R's own datasets,
# one per model form. moderators_test.cpp reads what this prints:
#   Rscript tests/data/r_moderators.R <path>/fdrInteraction.R > tests/data/r_moderators.txt
#
# fdrInteraction.R is the function of Esarey and Sumner's R package
# interactionTest (CRAN; its source is the public repository
# cran/interactionTest, file R/fdrInteraction.R). It is not part of this
# program: give the path of a copy on the command line.
#
# Where the numbers come from:
#   - lines: each line, predicted value and difference is a row of the
#     model matrix (model.matrix() at the moderator values, x = 0 and x = 1
#     for the intercept and slope, at meanX - SD, (meanX,) meanX + SD for
#     the predicted values), held against the fit's weights and covariance
#     matrix as printed: estimate, SE, t, p and interval at 95% with the
#     fit's residual df, Holm over the pairs of lines shown (p.adjust). The
#     sums are made without cancellation (see "Sums without cancellation"
#     below). Every row is checked against emmeans: emtrends for the simple
#     slopes, emmeans at x = 0 for the intercepts and at the X values for
#     the predicted values, pairs() for the differences and their Holm; each
#     grid put in the program's line order by its moderator values.
#   - effects along a variable (the slope of X along Z with V held; the
#     difference of two groups along X) are rows of the model matrix too:
#     P at u = 0 and Q the change per unit of u. Their Johnson-Neyman bounds
#     are where |t(u)| = t crit: the t statistic is scanned over the whole
#     line (u = s tan(theta)) and every change of side is refined by
#     uniroot; at each bound emmeans' own t statistic is checked to equal
#     the critical value.
#   - the false-discovery rate: fdrInteraction() on the effects and SEs at
#     seq(lo, hi, length.out = 100) of the observed values (emmeans' give
#     the same critical t), then the bounds at that critical t.
#   - crossings: Fieller's set of X where the difference of two lines is not
#     significant, the delta-method SE, and the verdict against the observed
#     values of X and against meanX +- SD of X.
#
# Mixed3's form keeps the weight of X as an IEEE single. Its reference
# numbers are those of the same fit with that weight rounded to single
# precision (a copy of the lm fit with that one coefficient replaced), so
# that they are the numbers of the weights the program holds.
#
# Output, tab-separated, numbers with 17 significant digits, NA where there
# is none, texts as typed (maybe empty):
#   fit <form> <df>
#   weight <form> <box> <value>                  in the form's order
#   vcov <form> <box> <row of V>                 in the same order
#   sd <form> <stdx> <stdz> <stdv>               0 where the form has none
#   zvalues <form> <hiz> <medz> <loz>            QuantZ's typed values
#   held <form> <control values>                 Incomplete
#   case <id> <form> <moderators: form|meansd|typed> <k> <values of Z> <values of V>
#        <meanX> <meanZ> <meanV> <region effect, from 1> <observed from> <to> <observed X from> <to>
#   slope|intercept <id> <k> <estimate> <SE> <t> <p> <lower> <upper>
#   point <id> <k> <x> <estimate> <SE> <t> <p> <lower> <upper>
#   slopediff|interceptdiff <id> <k> <l> <estimate> <SE> <t> <p> <p Holm> <lower> <upper>
#   region <id> <effect> <along> <kind> <bound 1> <bound 2> <bound 1 in SD> <bound 2 in SD>
#          <bound 1 beyond the observed values: 1|0|NA> <bound 2 ...>
#   fdr <id> <effect> <critical t> <kind> <bound 1> <bound 2>
#   crossing <id> <all|pair> <k> <l> <x> <SE> <kind> <lower> <upper> <verdict, observed X> <verdict, meanX +- SD>
# Lines and effects count from 1 in the program's order; a difference is
# line k minus line l, k < l; kinds are the program's words (outside,
# between, above, below, everywhere, nowhere; interval, outside, everywhere).

suppressPackageStartupMessages(library(emmeans))
args <- commandArgs(trailingOnly = TRUE)
if (length(args) != 1) stop("usage: Rscript r_moderators.R <path of fdrInteraction.R>")
source(args[1])

num <- function(x) ifelse(is.na(x), "NA", sprintf("%.17g", x))
out <- function(...) cat(paste(c(...), collapse = "\t"), "\n", sep = "")
level <- 0.95
# emtrends' difference quotient over a step of 1e4 in X: the models are
# linear in X, and a small step loses digits to cancellation.
delta <- 1e4

# ---- The fits --------------------------------------------------------------
# x, z, v, g, f and t1, t2 are plain copies of the datasets' columns: no
# variable is centred.

single <- function(x) readBin(writeBin(x, raw(), size = 4), "double", size = 4)

fit_entry <- function(form, fit, data, boxes, coefs, extra) {
  b <- coef(fit)[coefs]
  names(b) <- boxes
  v <- vcov(fit)[coefs, coefs]
  dimnames(v) <- list(boxes, boxes)
  c(list(form = form, fit = fit, data = data, coefs = coefs, weights = b, vcov = v, df = df.residual(fit),
         grid = fit, held = NULL, fixed = list()), extra)
}

fits <- list()

# Quant: mpg on weight (X) and horsepower (Z).
mt <- transform(mtcars, x = wt, z = hp)
fits$Quant <- fit_entry("Quant", lm(mpg ~ x * z, mt), mt, c("a", "bx", "bz", "bxz"), c("(Intercept)", "x", "z", "x:z"),
                        list(stdx = sd(mt$x), stdz = sd(mt$z), mods = "z"))

# QuantZ: ozone on wind (X) and temperature (Z), the days with ozone
# measured; the form knows no SD of Z, only three typed values.
aq <- na.omit(transform(airquality, x = Wind, z = Temp)[c("Ozone", "x", "z")])
fits$QuantZ <- fit_entry("QuantZ", lm(Ozone ~ x * z, aq), aq, c("a", "bx", "bz", "bxz"),
                         c("(Intercept)", "x", "z", "x:z"),
                         list(stdx = sd(aq$x), zvalues = c(90, 78, 65), mods = "z"))

# Mixed2: tooth length on dose (X) by supplement; VC (coded 1) is the
# target group, OJ (coded 0) the contrast group.
tg <- transform(ToothGrowth, x = dose, g = as.numeric(supp == "VC"))
fits$Mixed2 <- fit_entry("Mixed2", lm(len ~ x * g, tg), tg, c("a", "bx", "bz", "bxz"),
                         c("(Intercept)", "x", "g", "x:g"),
                         list(stdx = sd(tg$x), mods = "g"))

# Mixed3: chick weight on time (X) for diets 1 to 3; diet 2 is DC1, diet 3
# DC2, diet 1 the contrast group.
cw <- droplevels(as.data.frame(subset(ChickWeight, Diet %in% 1:3)))
cw <- data.frame(weight = cw$weight, x = cw$Time, f = factor(as.character(cw$Diet), levels = c("1", "2", "3")))
m3 <- lm(weight ~ x * f, cw)
fits$Mixed3 <- fit_entry("Mixed3", m3, cw, c("a", "rbx", "bz1", "bz2", "bxz1", "bxz2"),
                         c("(Intercept)", "x", "f2", "f3", "x:f2", "x:f3"), list(stdx = sd(cw$x), mods = "f"))
fits$Mixed3$weights[["rbx"]] <- single(fits$Mixed3$weights[["rbx"]])
# emmeans takes the weights from coef() and the matrix from vcov(), which
# the residuals and the QR decomposition give: only the weight changes.
m3single <- m3
m3single$coefficients[["x"]] <- fits$Mixed3$weights[["rbx"]]
stopifnot(identical(vcov(m3single), vcov(m3)))
fits$Mixed3$grid <- m3single

# Quant3: stack loss on air flow (X), water temperature (Z) and acid
# concentration (V).
sl <- transform(stackloss, x = Air.Flow, z = Water.Temp, v = Acid.Conc.)
fits$Quant3 <- fit_entry("Quant3", lm(stack.loss ~ x * z * v, sl), sl,
                         c("a", "bx", "bz", "bv", "bxz", "bxv", "bzv", "bxzv"),
                         c("(Intercept)", "x", "z", "v", "x:z", "x:v", "z:v", "x:z:v"),
                         list(stdx = sd(sl$x), stdz = sd(sl$z), stdv = sd(sl$v), mods = c("z", "v")))

# Incomplete: fertility on education (X) and agriculture (Z), with the
# Catholic share and infant mortality held at their means.
sw <- transform(swiss, x = Education, z = Agriculture, t1 = Catholic, t2 = Infant.Mortality)
fits$Incomplete <- fit_entry("Incomplete", lm(Fertility ~ x * z + t1 + t2, sw), sw,
                             c("weight_0", "bx", "bz", "bxz", "weight_1", "weight_2"),
                             c("(Intercept)", "x", "z", "x:z", "t1", "t2"),
                             list(stdx = sd(sw$x), stdz = sd(sw$z), mods = "z"))
fits$Incomplete$held <- c(mean(sw$t1), mean(sw$t2))
fits$Incomplete$fixed <- list(t1 = mean(sw$t1), t2 = mean(sw$t2))

# ---- The cases: what the user types in the plot window --------------------

m <- function(x) num(mean(x))  # a mean as typed: 17 significant digits
lim <- function(x) num(range(x))
cases <- list(
  # id, form, moderators, k, values of Z, values of V, meanX, meanZ, meanV, region effect,
  # observed values of the region figure's variable, observed values of X
  list("quant_form", "Quant", "form", "1", "", "", "", "", "", 1, lim(mt$z), lim(mt$x)),
  list("quant_sd1", "Quant", "meansd", "1", "", "", m(mt$x), m(mt$z), "", 1, lim(mt$z), lim(mt$x)),
  list("quant_sd2", "Quant", "meansd", "2", "", "", m(mt$x), m(mt$z), "", 1, lim(mt$z), lim(mt$x)),
  list("quant_typed", "Quant", "typed", "1", "100, 150 200;250", "", m(mt$x), m(mt$z), "", 1, c("60", "300"),
       lim(mt$x)),
  list("quantz_form", "QuantZ", "form", "1", "", "", "", "", "", 1, lim(aq$z), lim(aq$x)),
  list("quantz_typed", "QuantZ", "typed", "1", "60 70 80 90", "", m(aq$x), "", "", 1, lim(aq$z), lim(aq$x)),
  list("mixed2_form", "Mixed2", "form", "1", "", "", "", "", "", 1, lim(tg$x), lim(tg$x)),
  list("mixed2_mean", "Mixed2", "form", "1", "", "", m(tg$x), "", "", 1, lim(tg$x), lim(tg$x)),
  list("mixed3_form", "Mixed3", "form", "1", "", "", "", "", "", 1, lim(cw$x), lim(cw$x)),
  list("mixed3_mean", "Mixed3", "form", "1", "", "", m(cw$x), "", "", 2, lim(cw$x), lim(cw$x)),
  list("quant3_form", "Quant3", "form", "1", "", "", "", "", "", 1, lim(sl$z), lim(sl$x)),
  list("quant3_sd1", "Quant3", "meansd", "1", "", "", m(sl$x), m(sl$z), m(sl$v), 1, lim(sl$z), lim(sl$x)),
  list("quant3_sd2", "Quant3", "meansd", "2", "", "", m(sl$x), m(sl$z), m(sl$v), 3, lim(sl$v), lim(sl$x)),
  list("quant3_typed", "Quant3", "typed", "1", "18, 21, 24", "80 87 93", m(sl$x), m(sl$z), m(sl$v), 2,
       lim(sl$z), lim(sl$x)),
  list("quant3_typed16", "Quant3", "typed", "1", "17 18 19 20 21 22 24 27", "80, 90", m(sl$x), m(sl$z), m(sl$v), 1,
       lim(sl$z), lim(sl$x)),
  list("incomplete_form", "Incomplete", "form", "1", "", "", "", "", "", 1, lim(sw$z), lim(sw$x)),
  list("incomplete_sd1", "Incomplete", "meansd", "1", "", "", m(sw$x), m(sw$z), "", 1, lim(sw$z), lim(sw$x)),
  list("incomplete_sd2", "Incomplete", "meansd", "2", "", "", m(sw$x), m(sw$z), "", 1, lim(sw$z), lim(sw$x)),
  list("incomplete_typed", "Incomplete", "typed", "1", "10, 50, 90", "", m(sw$x), m(sw$z), "", 1, lim(sw$z),
       lim(sw$x)))

# The values typed, read as numbers ("100, 150 200;250").
values_of <- function(text) as.numeric(strsplit(trimws(text), "[,; \t]+")[[1]])
typed_mean <- function(text) if (text == "") 0 else as.numeric(text)

# ---- The lines of a case ----------------------------------------------------

# The moderator values of the lines, one row per line in the program's
# order, and the effects along a variable (which variable, what is held).
case_lines <- function(f, c) {
  how <- c[[3]]; k <- as.numeric(c[[4]])
  mz <- typed_mean(c[[8]]); mv <- typed_mean(c[[9]])
  around <- function(mean, sd, sides) mean + sides * k * sd
  switch(f$form,
    Quant = , Incomplete = data.frame(z = switch(how, form = c(f$stdz, 0, -f$stdz),
                                                meansd = around(mz, f$stdz, c(1, 0, -1)), typed = values_of(c[[5]]))),
    QuantZ = data.frame(z = switch(how, form = f$zvalues, typed = values_of(c[[5]]))),
    Mixed2 = data.frame(g = c(1, 0)),
    Mixed3 = data.frame(f = factor(c("2", "3", "1"), levels = c("1", "2", "3"))),
    Quant3 = {
      zs <- switch(how, form = c(f$stdz, -f$stdz), meansd = around(mz, f$stdz, c(1, -1)), typed = values_of(c[[5]]))
      vs <- switch(how, form = c(f$stdv, -f$stdv), meansd = around(mv, f$stdv, c(1, -1)), typed = values_of(c[[6]]))
      # Z outermost: (z1, v1), (z1, v2), ..., (z2, v1), ...
      data.frame(z = rep(zs, each = length(vs)), v = rep(vs, times = length(zs)))
    })
}

# One row of the model matrix in the form's order of weights, at `values`
# (x and the moderators; the held covariates added).
mm_row <- function(f, values) {
  nd <- as.data.frame(c(values, f$fixed))
  if (f$form == "Mixed3") nd$f <- factor(as.character(nd$f), levels = c("1", "2", "3"))
  tt <- delete.response(terms(f$fit))
  row <- model.matrix(tt, model.frame(tt, nd, xlev = f$fit$xlevels))[1, ]
  unname(row[f$coefs])
}

line_coefs <- function(f, lines) {
  lapply(seq_len(nrow(lines)), function(i) {
    at <- as.list(lines[i, , drop = FALSE])
    M <- mm_row(f, c(at, list(x = 0)))
    list(M = M, L = mm_row(f, c(at, list(x = 1))) - M)
  })
}

# Columns of a summary by role, whatever emmeans names them.
columns <- function(s) {
  s <- as.data.frame(s)
  pick <- function(pattern) {
    i <- grep(pattern, names(s))
    if (length(i) != 1) stop("no single column ", pattern, " among ", paste(names(s), collapse = ", "))
    s[[i]]
  }
  list(est = pick("^(x\\.trend|emmean|estimate)$"), se = pick("^SE$"), stat = pick("^t\\.ratio$"),
       p = pick("^p\\.value$"), lower = pick("^lower\\.CL$"), upper = pick("^upper\\.CL$"))
}

# The rows of a grid in the order of `wanted` (a data frame of its
# variables' values).
in_order <- function(grid, wanted) {
  g <- as.data.frame(summary(grid))
  idx <- vapply(seq_len(nrow(wanted)), function(i) {
    hit <- rep(TRUE, nrow(g))
    for (n in names(wanted)) hit <- hit & as.character(g[[n]]) == as.character(wanted[[n]][i])
    if (sum(hit) != 1) stop("no single grid row for line ", i)
    which(hit)
  }, 0L)
  grid[idx]
}

# ---- Sums without cancellation ------------------------------------------------
# On the uncentred three-way fit a predicted value's variance c'Vc is a
# difference of terms up to 1e8 times as large as itself, and its plain sum
# in doubles (emmeans' too) keeps only about nine digits. The numbers
# printed are the combinations of the weights and matrix as printed, summed
# as if in twice the precision of a double (Dekker's exact product and
# Knuth's exact sum, Ogita, Rump and Oishi's Sum2); emmeans' own numbers
# are checked against them to the rounding their conditioning allows.

two_sum <- function(a, b) {
  s <- a + b
  z <- s - a
  list(s = s, e = (a - (s - z)) + (b - z))
}
split_double <- function(a) {
  c <- 134217729 * a  # 2^27 + 1
  hi <- c - (c - a)
  list(hi = hi, lo = a - hi)
}
two_prod <- function(a, b) {
  p <- a * b
  sa <- split_double(a); sb <- split_double(b)
  list(p = p, e = sa$lo * sb$lo - (((p - sa$hi * sb$hi) - sa$lo * sb$hi) - sa$hi * sb$lo))
}
# The sum of doubles, as if in twice the precision.
sum2 <- function(x) {
  s <- 0; err <- 0
  for (v in x) { t <- two_sum(s, v); s <- t$s; err <- err + t$e }
  s + err
}
# c.b and c'Vc, each from its exact products.
accurate <- function(c, f) {
  b <- unname(f$weights); V <- unname(f$vcov)
  pb <- two_prod(c, b)
  cv <- two_prod(rep(c, times = length(c)), as.vector(V))  # c_i V_ij, i fastest
  right <- rep(c, each = length(c))
  cvc <- two_prod(cv$p, right)
  list(est = sum2(c(pb$p, pb$e)), var = sum2(c(cvc$p, cvc$e, cv$e * right)))
}

# A combination's test at the level, with the fit's df.
test_of <- function(c, f) {
  a <- accurate(c, f)
  se <- sqrt(a$var)
  crit <- qt(1 - (1 - level) / 2, f$df)
  t <- a$est / se
  list(est = a$est, se = se, stat = t, p = 2 * pt(-abs(t), f$df), lower = a$est - crit * se,
       upper = a$est + crit * se)
}

# emmeans' rows against the same combinations: estimate and SE to 1e-10 or
# to the rounding their conditioning allows (sum |c_i b_i| over |c.b|; sum
# |c_i| |V_ij| |c_j| over c'Vc), whichever is larger; t, p and the interval
# to 1e-6 of their scale (the same formulas).
check_rows <- function(cols, tests, coef_list, f, what) {
  b <- unname(f$weights); V <- unname(f$vcov)
  eps <- .Machine$double.eps
  for (i in seq_along(coef_list)) {
    c <- coef_list[[i]]; r <- tests[[i]]
    tol_est <- max(1e-10, 4 * eps * sum(abs(c * b)) / abs(r$est))
    tol_se <- max(1e-10, 4 * eps * drop(abs(c) %*% abs(V) %*% abs(c)) / r$se^2)
    scale <- abs(r$est) + r$se
    if (abs(cols$est[i] - r$est) > tol_est * abs(r$est) || abs(cols$se[i] - r$se) > tol_se * r$se ||
        abs(cols$stat[i] - r$stat) > 1e-6 * max(1, abs(r$stat)) || abs(cols$p[i] - r$p) > 1e-6 * max(r$p, 1e-300) ||
        abs(cols$lower[i] - r$lower) > 1e-6 * scale || abs(cols$upper[i] - r$upper) > 1e-6 * scale) {
      stop(f$form, ": the ", what, " of emmeans, row ", i, ", are not the model's combinations")
    }
  }
}

print_rows <- function(tag, id, grid, coef_list, f) {
  cols <- columns(summary(grid, infer = c(TRUE, TRUE), level = level, adjust = "none"))
  tests <- lapply(coef_list, test_of, f = f)
  check_rows(cols, tests, coef_list, f, tag)
  for (k in seq_along(tests)) {
    r <- tests[[k]]
    out(tag, id, k, num(r$est), num(r$se), num(r$stat), num(r$p), num(r$lower), num(r$upper))
  }
}

# pairs() gives line k minus line l in the order (1,2), (1,3), ..., (2,3),
# ...; its Holm adjustment (whose intervals are Bonferroni's) is checked
# against p.adjust's of the printed p values.
print_pairs <- function(tag, id, grid, coef_list, f) {
  pr <- pairs(grid)
  plain <- columns(summary(pr, infer = c(TRUE, TRUE), level = level, adjust = "none"))
  holm <- columns(summary(pr, infer = c(TRUE, TRUE), level = level, adjust = "holm"))
  kl <- combn(length(coef_list), 2, simplify = FALSE)
  diffs <- lapply(kl, function(p) coef_list[[p[1]]] - coef_list[[p[2]]])
  tests <- lapply(diffs, test_of, f = f)
  check_rows(plain, tests, diffs, f, tag)
  p_holm <- p.adjust(sapply(tests, `[[`, "p"), method = "holm")
  if (any(abs(holm$p - p_holm) > 1e-6 * pmax(p_holm, 1e-300))) stop(f$form, ": emmeans' Holm is not p.adjust's")
  for (i in seq_along(kl)) {
    r <- tests[[i]]
    out(tag, id, kl[[i]][1], kl[[i]][2], num(r$est), num(r$se), num(r$stat), num(r$p), num(p_holm[i]), num(r$lower),
        num(r$upper))
  }
}

print_lines <- function(f, c, lines, coefs) {
  id <- c[[1]]
  mods <- as.list(lapply(lines, function(v) if (is.factor(v)) levels(v) else unique(v)))
  spec <- reformulate(names(lines))
  slopes <- in_order(emtrends(f$grid, spec, var = "x", at = c(mods, f$fixed), delta.var = delta), lines)
  intercepts <- in_order(suppressMessages(emmeans(f$grid, spec, at = c(mods, f$fixed, list(x = 0)))), lines)
  print_rows("slope", id, slopes, lapply(coefs, `[[`, "L"), f)
  print_rows("intercept", id, intercepts, lapply(coefs, `[[`, "M"), f)
  mx <- typed_mean(c[[7]])
  xs <- if (c[[7]] == "") c(-f$stdx, f$stdx) else c(mx - f$stdx, mx, mx + f$stdx)
  points <- suppressMessages(emmeans(f$grid, reformulate(c("x", names(lines))), at = c(mods, f$fixed, list(x = xs))))
  wanted <- lines[rep(seq_len(nrow(lines)), each = length(xs)), , drop = FALSE]
  wanted$x <- rep(xs, times = nrow(lines))
  points <- in_order(points, wanted)
  cols <- columns(summary(points, infer = c(TRUE, TRUE), level = level))
  point_coefs <- lapply(seq_len(nrow(wanted)), function(i) mm_row(f, as.list(wanted[i, , drop = FALSE])))
  tests <- lapply(point_coefs, test_of, f = f)
  check_rows(cols, tests, point_coefs, f, "point")
  for (i in seq_along(tests)) {
    r <- tests[[i]]
    out("point", id, (i - 1) %/% length(xs) + 1, num(wanted$x[i]), num(r$est), num(r$se), num(r$stat), num(r$p),
        num(r$lower), num(r$upper))
  }
  print_pairs("slopediff", id, slopes, lapply(coefs, `[[`, "L"), f)
  print_pairs("interceptdiff", id, intercepts, lapply(coefs, `[[`, "M"), f)
}

# ---- Effects along a variable and their regions ------------------------------

# Each effect: its variable, P (at u = 0) and Q (per unit of u) over the
# weights, and how emmeans finds its estimate and SE at values u.
case_effects <- function(f, lines) {
  slope_along <- function(along, held) {
    at0 <- c(setNames(list(0), along), held)
    at1 <- c(setNames(list(1), along), held)
    P <- mm_row(f, c(at0, list(x = 1))) - mm_row(f, c(at0, list(x = 0)))
    Q <- mm_row(f, c(at1, list(x = 1))) - mm_row(f, c(at1, list(x = 0))) - P
    by_emmeans <- function(u) {
      at <- c(setNames(list(u), along), held)
      tr <- emtrends(f$grid, reformulate(along), var = "x", at = c(at, f$fixed), delta.var = delta)
      s <- columns(summary(tr, infer = TRUE))
      list(est = s$est, se = s$se)
    }
    list(along = toupper(along), P = P, Q = Q, by_emmeans = by_emmeans)
  }
  difference <- function(first, second) {
    at <- function(lvl, x) setNames(list(lvl), f$mods)
    row <- function(lvl, x) mm_row(f, c(at(lvl), list(x = x)))
    P <- row(first, 0) - row(second, 0)
    Q <- row(first, 1) - row(second, 1) - P
    by_emmeans <- function(u) {
      lv <- if (f$form == "Mixed3") c(first, second) else as.numeric(c(first, second))
      em <- suppressMessages(emmeans(f$grid, reformulate(c(f$mods, "x")), at = c(setNames(list(lv), f$mods),
                                                                                    list(x = u))))
      g <- as.data.frame(summary(em))
      s <- columns(summary(contrast(em, method = "pairwise", by = "x"), infer = TRUE))
      # pairwise gives the first level of the grid minus the second.
      sign <- if (as.character(g[[f$mods]][1]) == as.character(first)) 1 else -1
      list(est = sign * s$est, se = s$se)
    }
    list(along = "X", P = P, Q = Q, by_emmeans = by_emmeans)
  }
  switch(f$form,
    Quant = , QuantZ = , Incomplete = list(slope_along("z", list())),
    Mixed2 = list(difference(1, 0)),
    Mixed3 = list(difference("2", "1"), difference("3", "1"), difference("2", "3")),
    Quant3 = c(lapply(unique(lines$v), function(v) slope_along("z", list(v = v))),
               lapply(unique(lines$z), function(z) slope_along("v", list(z = z)))))
}

# Where |P.b + u Q.b| / SE(u) exceeds `crit`, by a scan over the whole line
# refined by uniroot: the program's kind and the sorted bounds.
scan_region <- function(P, Q, f, crit) {
  b <- unname(f$weights); V <- unname(f$vcov)
  stat <- function(u) { a <- accurate(P + u * Q, f); abs(a$est) / sqrt(a$var) }
  v0 <- drop(t(P) %*% V %*% P); v01 <- drop(t(P) %*% V %*% Q); v1 <- drop(t(Q) %*% V %*% Q)
  s <- sqrt(v0 / v1)
  u <- s * tan(seq(-pi / 2, pi / 2, length.out = 200001)[-c(1, 200001)])
  fu <- abs(sum(P * b) + u * sum(Q * b)) / sqrt(v0 + 2 * u * v01 + u^2 * v1) - crit
  change <- which(diff(sign(fu)) != 0)
  roots <- vapply(change, function(i)
    uniroot(function(w) stat(w) - crit, c(u[i], u[i + 1]), tol = 1e-15 * max(1, abs(u[i])), maxiter = 10000)$root, 0)
  far <- abs(sum(Q * b)) / sqrt(v1) - crit
  kind <- if (length(roots) == 0) {
    if (far > 0) "everywhere" else "nowhere"
  } else if (length(roots) == 1) {
    if (fu[1] > 0) "below" else "above"
  } else if (length(roots) == 2) {
    if (far > 0) "outside" else "between"
  } else stop("more than two roots")
  list(kind = kind, bounds = c(sort(roots), NA, NA)[1:2])
}

# emmeans' t statistic at each bound is the critical value.
check_bounds <- function(e, bounds, crit, what) {
  for (u in bounds[!is.na(bounds)]) {
    s <- e$by_emmeans(u)
    if (abs(abs(s$est / s$se) - crit) > 1e-8 * crit) stop(what, ": emmeans' t at the bound ", u, " is not ", crit)
  }
}

print_regions <- function(f, c, lines) {
  id <- c[[1]]
  crit <- qt(1 - (1 - level) / 2, f$df)
  effects <- case_effects(f, lines)
  chosen <- effects[[c[[10]]]]$along
  lo <- as.numeric(c[[11]][1]); hi <- as.numeric(c[[11]][2])
  means <- c(X = typed_mean(c[[7]]), Z = typed_mean(c[[8]]), V = typed_mean(c[[9]]))
  sds <- c(X = f$stdx, Z = if (is.null(f$stdz)) NA else f$stdz, V = if (is.null(f$stdv)) NA else f$stdv)
  for (i in seq_along(effects)) {
    e <- effects[[i]]
    reg <- scan_region(e$P, e$Q, f, crit)
    check_bounds(e, reg$bounds, crit, paste(id, "effect", i))
    in_sd <- (reg$bounds - means[[e$along]]) / sds[[e$along]]
    beyond <- if (e$along == chosen) as.numeric(reg$bounds < lo | reg$bounds > hi) else c(NA, NA)
    out("region", id, i, e$along, reg$kind, num(reg$bounds), num(in_sd), num(beyond))
    if (e$along != chosen) next
    us <- seq(lo, hi, length.out = 100)
    me <- e$by_emmeans(us)
    # the same effects from the model matrix, summed without cancellation
    acc <- lapply(us, function(u) accurate(e$P + u * e$Q, f))
    est <- sapply(acc, `[[`, "est"); se <- sqrt(sapply(acc, `[[`, "var"))
    if (max(abs(me$est - est) / (abs(est) + se)) > 1e-8 || max(abs(me$se - se) / se) > 1e-8) {
      stop(id, " effect ", i, ": emmeans' effects are not the model's")
    }
    # fdrInteraction says on the console when no value is significant
    # even at the smallest step; that note is not part of the output.
    invisible(capture.output(fdr_crit <- fdrInteraction(est, se, df = f$df, level = level)))
    invisible(capture.output(fdr_emmeans <- fdrInteraction(me$est, me$se, df = f$df, level = level)))
    if (fdr_crit != fdr_emmeans) stop(id, " effect ", i, ": the critical t differs with emmeans' effects")
    adj <- scan_region(e$P, e$Q, f, fdr_crit)
    check_bounds(e, adj$bounds, fdr_crit, paste(id, "effect", i, "(FDR)"))
    out("fdr", id, i, num(fdr_crit), adj$kind, num(adj$bounds))
  }
}

# ---- Crossings ---------------------------------------------------------------

verdict <- function(kind, lower, upper, lo, hi) {
  if (kind == "interval") {
    if (lo <= lower && upper <= hi) return("disordinal")
    if (upper < lo || lower > hi) return("ordinal")
  } else if (kind == "outside") {
    if (lower < lo && hi < upper) return("ordinal")
  }
  "undetermined"
}

print_crossings <- function(f, c, coefs) {
  id <- c[[1]]
  b <- unname(f$weights)
  crit <- qt(1 - (1 - level) / 2, f$df)
  mx <- typed_mean(c[[7]])
  ox <- as.numeric(c[[12]])
  meet <- f$form %in% c("Quant", "QuantZ", "Incomplete")
  kl <- combn(length(coefs), 2, simplify = FALSE)
  if (meet) {
    # all lines meet in one point: one row, from the pair whose slopes differ most
    d <- sapply(kl, function(p) abs(sum((coefs[[p[1]]]$L - coefs[[p[2]]]$L) * b)))
    kl <- kl[which.max(d)]
  }
  for (p in kl) {
    dM <- coefs[[p[1]]]$M - coefs[[p[2]]]$M; dL <- coefs[[p[1]]]$L - coefs[[p[2]]]$L
    a <- accurate(dM, f)$est; s <- accurate(dL, f)$est
    if (s == 0) next
    x <- -a / s
    # the delta method: the gradient of -a/s is -(dM + x dL) / s
    se <- sqrt(accurate(dM + x * dL, f)$var) / abs(s)
    reg <- scan_region(dM, dL, f, crit)
    kind <- switch(reg$kind, outside = "interval", between = "outside", nowhere = "everywhere",
                   stop("a crossing whose difference is significant everywhere or on one side"))
    out("crossing", id, if (meet) "all" else "pair", p[1], p[2], num(x), num(se), kind, num(reg$bounds),
        verdict(kind, reg$bounds[1], reg$bounds[2], ox[1], ox[2]),
        verdict(kind, reg$bounds[1], reg$bounds[2], mx - f$stdx, mx + f$stdx))
  }
}

# ---- Printing ----------------------------------------------------------------

cat("# Made by tests/data/r_moderators.R with ", R.version.string, ", emmeans ",
    as.character(packageVersion("emmeans")), "\n", sep = "")
for (f in fits) {
  out("fit", f$form, num(f$df))
  for (box in names(f$weights)) out("weight", f$form, box, num(f$weights[[box]]))
  for (box in names(f$weights)) out("vcov", f$form, box, num(f$vcov[box, ]))
  out("sd", f$form, num(f$stdx), num(if (is.null(f$stdz)) 0 else f$stdz), num(if (is.null(f$stdv)) 0 else f$stdv))
  if (f$form == "QuantZ") out("zvalues", f$form, num(f$zvalues))
  if (!is.null(f$held)) out("held", f$form, num(f$held))
}
for (c in cases) {
  f <- fits[[c[[2]]]]
  out("case", c[[1]], c[[2]], c[[3]], c[[4]], c[[5]], c[[6]], c[[7]], c[[8]], c[[9]], c[[10]], c[[11]], c[[12]])
  lines <- case_lines(f, c)
  coefs <- line_coefs(f, lines)
  print_lines(f, c, lines, coefs)
  print_regions(f, c, lines)
  print_crossings(f, c, coefs)
}
